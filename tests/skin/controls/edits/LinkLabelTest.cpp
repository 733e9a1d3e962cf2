// The link label.
#include "tests/skin/controls/edits/EditsTestSupport.h"

namespace skinctl {
namespace {} // namespace
} // namespace skinctl
