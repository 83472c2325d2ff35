#include "panel/shared/services.h"

#include "panel/shared/sounds.h"

namespace orrindale {

void Services::doPlaySound(const char* name) const {
    if (Sounds) Sounds->doPlaySound(name);
}

bool Services::OpenDocument(const char* name) const {
    return orrindale::OpenDocument(ProgramFolder, name, *Documents, *Messages);
}

} // namespace orrindale
