// The class library's message-dialog types: the kind of a message and the
// buttons it offers. The dialogs themselves are the skinned ones; only the
// types are shared.
#pragma once

#include "platform/forms/Sets.h"

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

enum TMsgDlgBtn {
    mbYes,
    mbNo,
    mbOK,
    mbCancel,
    mbAbort,
    mbRetry,
    mbIgnore,
    mbAll,
    mbNoToAll,
    mbYesToAll,
    mbHelp,
    mbClose
};

// Bit n stands for button kind n.
using TMsgDlgButtons = TSet<TMsgDlgBtn>;
