// The shutdown choice.
#include "launcher/widgets/shutdown_choice.h"

namespace vorbin {

int shutdownFlagsFor(int controlId) {
  switch (controlId) {
    case kIdPowerOff:
      return 8;
    case kIdRestart:
      return 2;
    case kIdLogOff:
      return 0;
    default:
      return kShutdownCancelled;
  }
}

}  // namespace vorbin
