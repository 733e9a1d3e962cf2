#include "platform/core/Events.h"

#include "platform/core/Exceptions.h"
#include "platform/core/Objects.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class TBaseForm : public TObject {
public:
    std::vector<std::string> Calls;
    void BaseClick(TObject*) { Calls.push_back("BaseClick"); }
};

// A second base puts the form's TObject part away from the object's start,
// so the bound object's identity must not depend on the pointer type used.
class TMixin {
public:
    virtual ~TMixin() = default;
    int Padding = 0;
};

class TForm1 : public TMixin, public TBaseForm {
public:
    void Button1Click(TObject* Sender) { Calls.push_back(Sender ? Sender->ClassName() : "nil"); }
    void Button2Click(TObject*) { Calls.push_back("Button2Click"); }
    int Twice(int X) const { return 2 * X; }
};

TEST(EventsTest, EmptyUntilAssignedAndResettable) {
    TNotifyEvent OnClick;
    EXPECT_FALSE(OnClick);
    EXPECT_TRUE(OnClick == nullptr);
    EXPECT_THROW(OnClick(nullptr), EInvalidOperation);

    TForm1 Form;
    OnClick = TNotifyEvent(&Form, &TForm1::Button1Click);
    ASSERT_TRUE(OnClick);
    OnClick(&Form);
    EXPECT_EQ(Form.Calls, std::vector<std::string>{"TForm1"});

    OnClick = nullptr;
    EXPECT_FALSE(OnClick);
    EXPECT_THROW(OnClick(nullptr), EInvalidOperation);
}

TEST(EventsTest, MemberEventsAreEqualByObjectAndMethod) {
    TForm1 A, B;
    TNotifyEvent AClick1(&A, &TForm1::Button1Click);
    EXPECT_EQ(AClick1, TNotifyEvent(&A, &TForm1::Button1Click));
    EXPECT_NE(AClick1, TNotifyEvent(&B, &TForm1::Button1Click));
    EXPECT_NE(AClick1, TNotifyEvent(&A, &TForm1::Button2Click));
    EXPECT_NE(AClick1, TNotifyEvent());
    // An inherited handler bound through the derived class is the same handler.
    EXPECT_EQ(TNotifyEvent(&A, &TForm1::BaseClick), TNotifyEvent(&A, &TBaseForm::BaseClick));
    // The same object seen through a base pointer.
    TBaseForm* Base = &A;
    EXPECT_EQ(TNotifyEvent(Base, &TBaseForm::BaseClick), TNotifyEvent(&A, &TBaseForm::BaseClick));
}

TEST(EventsTest, CallableEventsEqualOnlyTheirCopies) {
    int Count = 0;
    auto Lambda = [&Count](TObject*) { ++Count; };
    TNotifyEvent E1(Lambda);
    TNotifyEvent E2(Lambda);
    TNotifyEvent Copy = E1;
    EXPECT_EQ(E1, Copy);
    EXPECT_NE(E1, E2);
    Copy(nullptr);
    E2(nullptr);
    EXPECT_EQ(Count, 2);

    TForm1 Form;
    TNotifyEvent Member(&Form, &TForm1::Button1Click);
    EXPECT_NE(E1, Member);
    EXPECT_NE(Member, E1);
}

TEST(EventsTest, ObjectIsTheMostDerivedObjectOrNone) {
    TForm1 Form;
    TNotifyEvent Click(&Form, &TForm1::Button1Click);
    const TObject* AsObject = &Form;
    EXPECT_EQ(Click.Object(), dynamic_cast<const void*>(AsObject));
    EXPECT_EQ(TNotifyEvent([](TObject*) {}).Object(), nullptr);

    int Runs = 0;
    TThreadMethod Work([&Runs] { ++Runs; });
    Work();
    EXPECT_EQ(Runs, 1);
}

TEST(EventsTest, ReturnsTheHandlersResult) {
    TForm1 Form;
    TMethod<int(int)> Twice(&Form, &TForm1::Twice);
    EXPECT_EQ(Twice(21), 42);
    TMethod<int(int)> Plus1([](int X) { return X + 1; });
    EXPECT_EQ(Plus1(1), 2);
}

} // namespace
