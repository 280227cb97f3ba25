// The About and Setup dialogs, shown modally over the host's main form.
#ifndef RTD_UI_DIALOGS_H
#define RTD_UI_DIALOGS_H

// Each creates its dialog, places it, shows it modally and frees it before returning.
// Without a display (Linux) they return without showing anything.
void ShowAboutDialog();
void ShowSetupDialog();

#endif
