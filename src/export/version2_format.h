#pragma once

#include "export/export_driver.h"

namespace typeloom::exporters {

// The version 2.0 writers.
bool writeVersion2C(ExportContext& context);
bool writeVersion2Asm(ExportContext& context);
bool writeVersion2Dat(ExportContext& context);

}  // namespace typeloom::exporters
