// A scripted user for modal runs: a queue of actions, each run at an idle
// moment of the application loop, so that a test can act inside a dialog
// that a call builds, shows modally and frees before it returns.
//
// By default an action waits until a modal form is the active form (the
// dialog has shown); AnyIdle runs the actions at the next idle moments
// whatever runs, for tests of the main loop itself. An action may start a
// nested modal run; the following actions then act inside it. The test
// fails when the script ends with actions that never ran.
#pragma once

#include <deque>
#include <functional>

class TCustomForm;

class TModalScript {
public:
    using TAction = std::function<void()>;
    enum TWhen { WhenModal, AnyIdle };

    explicit TModalScript(std::deque<TAction> Actions = {}, TWhen When = WhenModal);
    ~TModalScript();
    TModalScript(const TModalScript&) = delete;
    TModalScript& operator=(const TModalScript&) = delete;

    void Add(TAction Action);
    bool Done() const { return FActions.empty(); }
    // The actions that ran so far.
    int Ran() const { return FRan; }

    // The active form when it runs modally, else nullptr.
    static TCustomForm* ModalForm();

private:
    void Idle(bool& Done);

    std::deque<TAction> FActions;
    TWhen FWhen;
    int FRan = 0;
};
