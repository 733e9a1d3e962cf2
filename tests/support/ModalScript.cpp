#include "tests/support/ModalScript.h"

#include "platform/forms/Forms.h"

#include <gtest/gtest.h>

TModalScript::TModalScript(std::deque<TAction> Actions, TWhen When)
    : FActions(std::move(Actions)), FWhen(When) {
    Application->OnIdle = [this](TObject*, bool& Done) { Idle(Done); };
}

TModalScript::~TModalScript() {
    if (Application)
        Application->OnIdle = nullptr;
    if (!FActions.empty())
        ADD_FAILURE() << FActions.size() << " scripted action(s) never ran (" << FRan << " ran)";
}

void TModalScript::Add(TAction Action) {
    FActions.push_back(std::move(Action));
}

TCustomForm* TModalScript::ModalForm() {
    TCustomForm* Form = Screen ? Screen->ActiveForm() : nullptr;
    return Form && Form->ModalRunning() ? Form : nullptr;
}

void TModalScript::Idle(bool& Done) {
    if (!FActions.empty() && (FWhen == AnyIdle || ModalForm())) {
        // Taken off the queue first: the action may start a nested run
        // whose idle moments serve the next actions.
        TAction Action = std::move(FActions.front());
        FActions.pop_front();
        ++FRan;
        Action();
    }
    // Called again at once while actions remain.
    Done = FActions.empty();
}
