#pragma once

#include "export/export_driver.h"

namespace typeloom::exporters {

// The table-based writers.
bool writeTableC(ExportContext& context);
bool writeTableAsm(ExportContext& context);
bool writeTableBin(ExportContext& context);

}  // namespace typeloom::exporters
