// The module-wide state.
#include "driver/entry/module_state.h"

#include <cstring>

HINSTANCE g_hInstance = nullptr;
HANDLE g_hPrinter = nullptr;
WCHAR g_printerName[kPrinterNameChars];
qf::PrivateSettings g_settingsCache;
qf::EncoderSettings g_encoderSettings;
qf::EncoderSettings g_encoderEdit;
qf::EncoderSettings g_encoderAdvanced;
char g_modelReply[kModelReplySize];
WCHAR g_modelNameW[kModelNameChars];
const WCHAR* g_modelName = nullptr;

void ResetModuleState(HINSTANCE instance) {
    g_hInstance = instance;
    std::memset(g_printerName, 0, sizeof g_printerName);
    std::memset(&g_settingsCache, 0, sizeof g_settingsCache);
    std::memset(&g_encoderSettings, 0, sizeof g_encoderSettings);
    std::memset(&g_encoderEdit, 0, sizeof g_encoderEdit);
    std::memset(&g_encoderAdvanced, 0, sizeof g_encoderAdvanced);
    g_modelReply[0] = '\0';
}
