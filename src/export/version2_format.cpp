#include "export/version2_format.h"

namespace typeloom::exporters {

// Being written: every function fails until its layout is in place.
bool writeVersion2C(ExportContext&) {
    return false;
}
bool writeVersion2Asm(ExportContext&) {
    return false;
}
bool writeVersion2Dat(ExportContext&) {
    return false;
}

}  // namespace typeloom::exporters
