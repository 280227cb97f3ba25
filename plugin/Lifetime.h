// Creation and destruction of the library-global engine object, driven by the library's
// load and unload.
#ifndef RTD_PLUGIN_LIFETIME_H
#define RTD_PLUGIN_LIFETIME_H

// Reason codes the loader passes to the library entry routine.
enum PluginEntryReason : unsigned long {
    kProcessDetach = 0,
    kProcessAttach = 1,
    kThreadAttach = 2,
    kThreadDetach = 3,
};

// Creates IspUnit (which loads the setting). When it cannot be created IspUnit stays
// null: the queries still answer and the commands refuse. A second attach keeps the
// object that exists.
void PluginAttach();
// Destroys IspUnit (which saves the setting) and leaves it null.
void PluginDetach();
// The entry routine's work for one reason code: attach, detach, or nothing. Always 1,
// so loading never fails on the plug-in's account.
int PluginEntry(unsigned long reason);

#endif
