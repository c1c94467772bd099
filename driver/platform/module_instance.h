// The module's instance handle: where its resources (dialogs, texts, pictures) are found.
#pragma once

#include <windows.h>

extern HINSTANCE g_hInstance;
