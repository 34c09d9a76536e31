#include "export/microchip_format.h"

namespace typeloom::exporters {

// Being written: every function fails until its layout is in place.
bool writeMicrochipC(ExportContext&) {
    return false;
}
bool writeMicrochipBin(ExportContext&) {
    return false;
}

}  // namespace typeloom::exporters
