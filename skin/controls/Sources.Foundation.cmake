# The skinned control base classes, panels, labels, bevel, bars and splitter.
list(APPEND SKIN_CONTROLS_SOURCES
    bsSkinCtrls.Base.cpp
    bsSkinCtrls.GraphicBase.cpp
    bsSkinCtrls.Panel.cpp
    bsSkinCtrls.PanelLooks.cpp
    bsSkinCtrls.Labels.cpp
    bsSkinCtrls.Bevel.cpp
    bsSkinCtrls.Splitter.cpp
    bsSkinCtrls.Bars.cpp)
