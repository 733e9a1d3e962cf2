#include "platform/core/Objects.h"

#include "platform/core/Exceptions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Log;

// Records its destruction, what it hears, and clears its link to another
// component when that one goes.
class TRecorder : public TComponent {
public:
    TRecorder(TComponent* AOwner, std::string AName) : TComponent(AOwner) { SetName(AName); }
    ~TRecorder() override { Log.push_back("~" + Name()); }

    TComponent* Link = nullptr;
    std::vector<std::string> Heard; // removals, by name
    std::vector<TComponent*> Inserted;
    bool SawSelfDestroying = false;
    bool SawLoadingInSetter = false;
    int Caption = 0;

    void SetCaption(int Value) {
        SawLoadingInSetter = ComponentState().Contains(csLoading);
        Caption = Value;
    }

    void Notification(TComponent* AComponent, TOperation Operation) override {
        TComponent::Notification(AComponent, Operation);
        // A new component is not named yet when its insertion is announced.
        if (Operation == opInsert)
            Inserted.push_back(AComponent);
        if (Operation == opRemove) {
            Heard.push_back("-" + AComponent->Name());
            SawSelfDestroying = SawSelfDestroying || ComponentState().Contains(csDestroying);
            if (AComponent == Link)
                Link = nullptr;
        }
    }

protected:
    void Loaded() override {
        TComponent::Loaded();
        Log.push_back("Loaded " + Name());
    }
};

class ObjectsTest : public ::testing::Test {
protected:
    void SetUp() override { Log.clear(); }
};

namespace deep::inside {
class TFoo : public TPersistent {};
} // namespace deep::inside
class TBar : public TPersistent {};

// Takes a TFoo's content, refuses everything else through the base.
class TTaker : public TPersistent {
public:
    bool Took = false;
    void Assign(TPersistent* Source) override {
        if (dynamic_cast<deep::inside::TFoo*>(Source)) {
            Took = true;
            return;
        }
        TPersistent::Assign(Source);
    }
};

TEST_F(ObjectsTest, ClassNameAndAssignErrors) {
    deep::inside::TFoo Foo;
    TBar Bar;
    EXPECT_EQ(Foo.ClassName(), "TFoo");
    try {
        Bar.Assign(&Foo);
        FAIL() << "Assign did not raise";
    } catch (const EConvertError& E) {
        EXPECT_EQ(E.Message(), "Cannot assign a TFoo to a TBar");
    }
    try {
        Bar.Assign(nullptr);
        FAIL() << "Assign did not raise";
    } catch (const EConvertError& E) {
        EXPECT_EQ(E.Message(), "Cannot assign a nil to a TBar");
    }
    TTaker Taker;
    Taker.Assign(&Foo);
    EXPECT_TRUE(Taker.Took);
    EXPECT_THROW(Taker.Assign(&Bar), EConvertError);
}

TEST_F(ObjectsTest, PropertiesAndComponentIndex) {
    TComponent Owner(nullptr);
    auto* A = new TRecorder(&Owner, "A");
    auto* B = new TRecorder(&Owner, "B");
    EXPECT_EQ(A->Owner(), &Owner);
    EXPECT_EQ(B->GetOwner(), &Owner);
    ASSERT_EQ(Owner.ComponentCount(), 2);
    EXPECT_EQ(Owner.Components(0), A);
    EXPECT_EQ(Owner.Components(1), B);
    try {
        Owner.Components(2);
        FAIL() << "no index error";
    } catch (const EListError& E) {
        EXPECT_EQ(E.Message(), "List index out of bounds (2)");
    }
    EXPECT_THROW(Owner.Components(-1), EListError);
    A->SetTag(-10000);
    EXPECT_EQ(A->Tag(), -10000);
    EXPECT_TRUE(A->ComponentState().Empty());
}

TEST_F(ObjectsTest, OwnerFreesOwnedLastFirst) {
    auto* Owner = new TRecorder(nullptr, "Owner");
    for (const char* Name : {"A", "B", "C"})
        new TRecorder(Owner, Name);
    delete Owner;
    EXPECT_EQ(Log, (std::vector<std::string>{"~Owner", "~C", "~B", "~A"}));
}

TEST_F(ObjectsTest, NotificationClearsASiblingsReference) {
    TComponent Form(nullptr);
    auto* Data = new TRecorder(&Form, "Data");
    auto* User = new TRecorder(&Form, "User");
    auto* Other = new TRecorder(&Form, "Other");
    User->Link = Data;
    // opInsert reached the siblings that already existed, newest last.
    EXPECT_EQ(Data->Inserted, (std::vector<TComponent*>{User, Other}));
    EXPECT_EQ(User->Inserted, std::vector<TComponent*>{Other});

    delete Data;
    EXPECT_EQ(User->Link, nullptr);
    EXPECT_EQ(User->Heard, std::vector<std::string>{"-Data"});
    EXPECT_EQ(Other->Heard, std::vector<std::string>{"-Data"});
    EXPECT_FALSE(User->SawSelfDestroying);
    EXPECT_EQ(Form.ComponentCount(), 2);
    EXPECT_EQ(Form.Components(0), User);
}

// The first component of a form outlives its siblings while the form goes;
// it hands out what it heard from its destructor, its last moment.
class TFirstChild : public TRecorder {
public:
    TFirstChild(TComponent* AOwner, std::vector<std::string>* AOut, bool* AOutDestroying)
        : TRecorder(AOwner, "First"), Out(AOut), OutDestroying(AOutDestroying) {}
    ~TFirstChild() override {
        *Out = Heard;
        *OutDestroying = SawSelfDestroying;
    }
    std::vector<std::string>* Out;
    bool* OutDestroying;
};

TEST_F(ObjectsTest, SiblingsHearRemovalsWithCsDestroyingWhileTheOwnerGoes) {
    std::vector<std::string> Heard;
    bool SawDestroying = false;
    auto* Form = new TComponent(nullptr);
    new TFirstChild(Form, &Heard, &SawDestroying);
    new TRecorder(Form, "Second");
    new TRecorder(Form, "Third");
    delete Form;
    EXPECT_EQ(Heard, (std::vector<std::string>{"-Third", "-Second"}));
    EXPECT_TRUE(SawDestroying);
}

TEST_F(ObjectsTest, FreeNotificationWorksAcrossOwnersInBothDirections) {
    for (bool DeleteFirst : {true, false}) {
        SCOPED_TRACE(DeleteFirst ? "first deleted" : "second deleted");
        TComponent FormA(nullptr);
        TComponent FormB(nullptr);
        auto* X = new TRecorder(&FormA, "X");
        auto* Y = new TRecorder(&FormB, "Y");
        X->Link = Y;
        Y->Link = X;
        X->FreeNotification(Y);
        if (DeleteFirst) {
            delete X;
            EXPECT_EQ(Y->Link, nullptr);
            EXPECT_EQ(Y->Heard, std::vector<std::string>{"-X"});
        } else {
            delete Y;
            EXPECT_EQ(X->Link, nullptr);
            EXPECT_EQ(X->Heard, std::vector<std::string>{"-Y"});
        }
    }
}

TEST_F(ObjectsTest, RemovedFreeNotificationIsSilent) {
    TComponent FormA(nullptr);
    TComponent FormB(nullptr);
    auto* X = new TRecorder(&FormA, "X");
    auto* Y = new TRecorder(&FormB, "Y");
    Y->FreeNotification(X);
    Y->RemoveFreeNotification(X);
    delete X;
    EXPECT_TRUE(Y->Heard.empty());
}

TEST_F(ObjectsTest, LoadingCallsLoadedInCreationOrderAfterTheSetters) {
    TRecorder Form(nullptr, "Form");
    auto* A = new TRecorder(&Form, "A");
    Form.BeginLoading();
    auto* B = new TRecorder(&Form, "B");
    for (TRecorder* R : {&Form, A, B}) {
        EXPECT_TRUE(R->ComponentState().Contains(csLoading)) << R->Name();
        EXPECT_TRUE(R->ComponentState().Contains(csReading)) << R->Name();
    }
    B->SetCaption(1);
    EXPECT_TRUE(B->SawLoadingInSetter);
    Form.EndLoading();
    EXPECT_EQ(Log, (std::vector<std::string>{"Loaded A", "Loaded B", "Loaded Form"}));
    for (TRecorder* R : {&Form, A, B})
        EXPECT_TRUE(R->ComponentState().Empty()) << R->Name();
    B->SetCaption(2);
    EXPECT_FALSE(B->SawLoadingInSetter);
    Log.clear();
}

// A form whose destructor frees its components first, so its own override
// still runs and its fields still exist while they go.
class TEarlyForm : public TComponent {
public:
    explicit TEarlyForm(std::vector<std::string>* AHeard) : TComponent(nullptr), Heard(AHeard) {}
    ~TEarlyForm() override {
        Destroying();
        DestroyComponents();
    }
    void Notification(TComponent* AComponent, TOperation Operation) override {
        TComponent::Notification(AComponent, Operation);
        if (Operation == opRemove)
            Heard->push_back(AComponent->Name() +
                             (ComponentState().Contains(csDestroying) ? " while destroying" : ""));
    }
    std::vector<std::string>* Heard;
};

TEST_F(ObjectsTest, DerivedDestructorMayDestroyComponentsEarly) {
    std::vector<std::string> Heard;
    {
        TEarlyForm Form(&Heard);
        new TRecorder(&Form, "A");
        new TRecorder(&Form, "B");
    }
    EXPECT_EQ(Heard, (std::vector<std::string>{"B while destroying", "A while destroying"}));
}

} // namespace
