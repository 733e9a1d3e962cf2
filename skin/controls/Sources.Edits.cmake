# The skinned edit boxes (inner edit, numeric edit, edit box), the scroll
# box and the link label.
list(APPEND SKIN_CONTROLS_SOURCES
    ${CMAKE_CURRENT_SOURCE_DIR}/bsSkinEdits.Inner.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/bsSkinEdits.Box.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/bsSkinEdits.BoxPaint.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/bsSkinEdits.ScrollBox.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/bsSkinEdits.LinkLabel.cpp
)
