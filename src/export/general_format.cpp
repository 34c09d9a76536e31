#include "export/general_format.h"

namespace typeloom::exporters {

// Being written: every function fails until its layout is in place.
bool writeGeneralC(ExportContext&) {
    return false;
}
bool writeGeneralBin(ExportContext&) {
    return false;
}

}  // namespace typeloom::exporters
