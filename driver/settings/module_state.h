// The module-wide state: one instance per process, shared by every entry point, sheet
// and dialog, on whatever thread calls. It holds only what is truly process-wide: the
// instance handle and the table of what the module keeps of each printer, which guards
// itself with its own lock. Each open sheet keeps its own records
// (driver/state/sheet_state.h), and nothing here points into a record the module does
// not own.
#pragma once

#include <windows.h>
#include <winspool.h>

#include <cstdint>
#include <string_view>

#include "driver/platform/module_instance.h"
#include "driver/settings/printer_records.h"
#include "driver/settings/private_settings.h"

constexpr int kModelReplySize = 224;
constexpr int kModelNameChars = 64;
constexpr int kRibbonNameChars = 32;

// Each printer's settings cache and single-feed choice, by printer name.
extern qf::PrinterRecordTable g_printerRecords;

// A printer name as the table's key (empty for a null name).
inline std::u16string_view PrinterKey(const wchar_t* name) {
    return name ? std::u16string_view(reinterpret_cast<const char16_t*>(name)) : std::u16string_view();
}

// Process attach: records the instance handle and starts with no printer known.
void ResetModuleState(HINSTANCE instance);
