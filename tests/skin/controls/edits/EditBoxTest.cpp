// The skinned edit box: geometry, buttons, hover and focus, painting.
#include "tests/skin/controls/edits/EditsTestSupport.h"

namespace skinctl {
namespace {} // namespace
} // namespace skinctl
