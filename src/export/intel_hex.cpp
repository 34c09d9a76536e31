#include "export/intel_hex.h"

namespace typeloom::exporters {

// Being written: every function fails until its layout is in place.
bool writeIntelHex(ExportContext&) {
    return false;
}

}  // namespace typeloom::exporters
