#include "templates/designs.h"

namespace tpl {
void Transfers(Writer&) {}
}  // namespace tpl
