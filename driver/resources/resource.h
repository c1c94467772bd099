// Resource ids of the module: strings, dialogs, controls and icons.
#pragma once

// Strings
#define IDS_HELP_FILE        200   // help file opened by every Help button
#define IDS_CAPTION          2009  // caption of the module's message boxes
#define IDS_PAPER_NAME       2017  // the card form's name
#define IDS_BIN_NAME         2018  // the card feeder's name
#define IDS_SYSTEM_ERROR     2019  // allocation or printer-information failure of a sheet
#define IDS_RIBBON_CHANGED       2300  // the printer reports another ribbon
#define IDS_RIBBON_CHANGED_MONO  2301  // ... a monochrome one, whose kind the user chooses
#define IDS_NO_RIBBON            2302  // no ribbon, or the printer does not answer

// Controls shared by the dialogs
#define IDC_HELP_BUTTON      1006  // Help
#define IDC_CLOSE_BUTTON     1605  // Close, in the dialogs that have a Help button
