# Buttons, check and radio boxes, slider, scroll bar, up-down buttons, page
# control and the tree and list views.
list(APPEND SKIN_CONTROLS_SOURCES
    ${CMAKE_CURRENT_SOURCE_DIR}/bsSkinCtrls.ScrollBar.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/bsSkinCtrls.Views.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/bsSkinCtrls.ButtonEffects.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/bsSkinCtrls.Button.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/bsSkinCtrls.SpeedButton.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/bsSkinCtrls.CheckRadio.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/bsSkinCtrls.Slider.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/bsSkinUpDown.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/bsSkinTabs.cpp
)
