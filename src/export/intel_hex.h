#pragma once

#include "export/export_driver.h"

namespace typeloom::exporters {

// The Intel HEX writers.
bool writeIntelHex(ExportContext& context);

}  // namespace typeloom::exporters
