// The shutdown choice.
#include "launcher/widgets/shutdown_choice.h"

#include "launcher/resources/resource_ids.h"

namespace vorbin {

int shutdownFlagsFor(int controlId) {
  switch (controlId) {
    case IDC_SHUTDOWN_POWER_OFF:
      return 8;
    case IDC_SHUTDOWN_RESTART:
      return 2;
    case IDC_SHUTDOWN_LOG_OFF:
      return 0;
    default:
      return kShutdownCancelled;
  }
}

}  // namespace vorbin
