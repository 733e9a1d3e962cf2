// The in-place label editor of the list and tree views: an edit control
// opened over the item, subclassed so that Enter accepts and Escape cancels.
// Internal to platform/forms.
#pragma once

#include "platform/forms/Edits.h"
#include "platform/win/Windows.h"

#include <string>

namespace StdCtrl {

// The in-place label editor of a list or tree view: Enter accepts, Escape
// cancels, losing the focus accepts; the editor asks for every key so that
// the dialog does not take Enter and Escape first.
template <class TEndEdit>
LRESULT LabelEditorMessage(HWND Editor, UINT Msg, WPARAM WParam, LPARAM LParam, TEndEdit EndEdit) {
    switch (Msg) {
    case WM_GETDLGCODE:
        return DefSubclassProc(Editor, Msg, WParam, LParam) | DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
        if (WParam == VK_RETURN || WParam == VK_ESCAPE) {
            EndEdit(WParam == VK_ESCAPE);
            return 0;
        }
        break;
    case WM_CHAR:
        if (WParam == '\r' || WParam == 27)
            return 0;
        break;
    case WM_KILLFOCUS: {
        LRESULT R = DefSubclassProc(Editor, Msg, WParam, LParam);
        EndEdit(false);
        return R;
    }
    default:
        break;
    }
    return DefSubclassProc(Editor, Msg, WParam, LParam);
}

// Opens the in-place label editor of a list or tree view at (X, Y), W by H,
// in the view's font, with its whole text selected; Proc, subclassed in under
// Id with Data, answers the editor's messages. The caller gives it the focus
// once the view knows its editor, since the view's losing the focus is
// reported to the parent, which may ask for the editor.
inline HWND OpenLabelEditor(HWND Owner, HFONT Font, const std::string& Text, int X, int Y, int W,
                            int H, SUBCLASSPROC Proc, UINT_PTR Id, DWORD_PTR Data) {
    HWND Editor =
        CreateWindowEx(0, "EDIT", Text.c_str(), WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL,
                       X, Y, W, H, Owner, nullptr, nullptr, nullptr);
    SendMessage(Editor, WM_SETFONT, WPARAM(Font), 0);
    SetWindowSubclass(Editor, Proc, Id, Data);
    SendMessage(Editor, EM_SETSEL, 0, -1);
    return Editor;
}

// Closes a label editor opened by OpenLabelEditor and answers the text it
// held; the focus goes back to the view when the editor had it.
inline std::string CloseLabelEditor(HWND Owner, HWND Editor, SUBCLASSPROC Proc, UINT_PTR Id) {
    std::string Text = GetWindowText(Editor);
    RemoveWindowSubclass(Editor, Proc, Id);
    bool HadFocus = GetFocus() == Editor;
    DestroyWindow(Editor);
    if (HadFocus)
        SetFocus(Owner);
    return Text;
}

} // namespace StdCtrl
