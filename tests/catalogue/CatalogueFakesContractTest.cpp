// The fakes the handler tests run on keep the same rules as the real
// controls will.
#include "tests/catalogue/CatalogueControlsContract.h"
#include "tests/catalogue/CatalogueFakes.h"

namespace {

struct TFakeOfficeHarness {
    IOfficeComboList& Combo() { return FCombo; }
    TFakeOfficeCombo FCombo;
};

struct TFakeTextHarness {
    ITextComboList& Combo() { return FCombo; }
    TFakeTextCombo FCombo;
};

} // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(CatalogueFakes, CatalogueOfficeComboContract, TFakeOfficeHarness);
INSTANTIATE_TYPED_TEST_SUITE_P(CatalogueFakes, CatalogueTextComboContract, TFakeTextHarness);
