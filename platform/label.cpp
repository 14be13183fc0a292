#include "platform/label.h"

namespace platform {

Label::Label(Rect frame) : View(frame) { setDefaultUserInteraction(false); }

}  // namespace platform
