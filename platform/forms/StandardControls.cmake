# Sources of the standard controls, part of platform_forms.
set(OSTRELA_STANDARD_CONTROLS_SOURCES
    Edits.cpp
    Edits.Wrappers.cpp
    ListBoxes.cpp
    ListBoxes.Wrappers.cpp
    ListBoxes.ComboBox.cpp
    ListViews.Header.cpp
    ListViews.cpp
    ListViews.Wrappers.cpp
    TreeViews.cpp
    TreeViews.Wrappers.cpp
    UpDowns.cpp
    Tabs.cpp
    Tabs.Wrappers.cpp)
