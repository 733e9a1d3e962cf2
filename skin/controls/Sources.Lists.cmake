# The skinned list boxes, the office list and the two combo boxes with their
# drop-down lists.
list(APPEND SKIN_CONTROLS_SOURCES
    bsSkinLists.Inner.cpp
    bsSkinLists.ListBox.cpp
    bsSkinLists.Caption.cpp
    bsSkinLists.Office.cpp
    bsSkinLists.OfficePaint.cpp
    bsSkinCombos.Base.cpp
    bsSkinCombos.Combo.cpp
    bsSkinCombos.DropDown.cpp
    bsSkinCombos.Edit.cpp
    bsSkinCombos.Face.cpp
    bsSkinCombos.Office.cpp)
