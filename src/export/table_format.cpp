#include "export/table_format.h"

namespace typeloom::exporters {

// Being written: every function fails until its layout is in place.
bool writeTableC(ExportContext&) {
    return false;
}
bool writeTableAsm(ExportContext&) {
    return false;
}
bool writeTableBin(ExportContext&) {
    return false;
}

}  // namespace typeloom::exporters
