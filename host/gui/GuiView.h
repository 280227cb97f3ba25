// ispgui's main window in the native toolkit: FLTK on Linux, Win32 on Windows, built from
// the layout table. The programmer (GuiProgrammer) fills it and reacts to its events;
// everything toolkit-specific stays behind this interface.
#ifndef RTD_HOST_GUI_GUIVIEW_H
#define RTD_HOST_GUI_GUIVIEW_H

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "FileFilter.h"
#include "GuiLayout.h"
#include "Trace.h"
#include "rtd2120/rtd2120.h"

namespace rtd::gui {

// What the window reports. Each call comes from the toolkit's event handling, on the
// user-interface thread, possibly from inside a command's message processing.
class GuiEvents {
public:
    virtual void Clicked(int control) = 0;
    virtual void FileDropped(const std::string& path) = 0;
    // F5: Write again, for the next board.
    virtual void WriteAgainPressed() = 0;
    // The title bar's close box (or the system menu's Close). The window stays open
    // until the programmer calls Close().
    virtual void CloseRequested() = 0;

protected:
    ~GuiEvents() = default;
};

// The toolkit's open-file dialog while it is shown, for tests.
class FileDialog {
public:
    // The filter choices as the dialog lists them.
    virtual std::vector<std::string> FilterChoices() = 0;
    // The names the dialog lists in the folder it shows (folders included).
    virtual std::vector<std::string> ListedNames() = 0;
    // Names `path` and confirms, as typing it and pressing Open does.
    virtual void Choose(const std::string& path) = 0;
    virtual void Cancel() = 0;

protected:
    ~FileDialog() = default;
};

// What the toolkit reports about the window, for tests.
struct GuiControlReading {
    std::string text;
    bool shown = false, enabled = false;
    int left = 0, top = 0, width = 0, height = 0;
    // "<face> <size>" of the label, then of the text for a field: empty where the toolkit
    // does not report it.
    std::string fonts;
};

struct GuiReading {
    std::string caption;
    bool open = false;
    int left = 0, top = 0, outerWidth = 0, outerHeight = 0;
    int clientWidth = 0, clientHeight = 0;
    std::vector<GuiControlReading> controls; // in table order
    std::vector<std::string> lines;          // the message list
    int progress = -1;                       // the progress bar's value
    std::vector<std::string> choices;        // the bus chooser's items
    int chosen = -1;
    uint32_t resultColour = 0;   // the result strip's background, 0xRRGGBB
    uint32_t progressColour = 0; // the progress bar's fill
    // The size the strip's text takes as the toolkit draws it (wrapped at the strip's
    // width where the strip wraps).
    int resultTextWidth = 0, resultTextHeight = 0;
    bool acceptsDrops = false;
};

class GuiView {
public:
    // Null, with a one-line reason, when the window cannot be made (no display). The
    // progress the form receives is traced in `trace`.
    static std::unique_ptr<GuiView> Create(const WindowLayout& layout, const std::string& caption,
                                           GuiEvents* events, host::Trace* trace,
                                           std::string* error);
    virtual ~GuiView() = default;

    // The main form handed to the plug-in: this window's rectangle and handle. The
    // progress messages it receives move the progress bar.
    virtual TForm* Form() = 0;

    // Shows the window with its outer top-left corner at `place` (kept on the screen), or
    // where the window system puts a new window.
    virtual void Show(const WindowPlace* place) = 0;
    // Runs the toolkit's event loop until Close().
    virtual void Run() = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() = 0;
    // The outer top-left corner now, in the form Show takes.
    virtual WindowPlace Place() = 0;

    virtual void SetText(int control, const std::string& text) = 0;
    virtual std::string Text(int control) = 0;
    virtual void SetShown(int control, bool shown) = 0;
    virtual void SetEnabled(int control, bool enabled) = 0;
    // Gives the control the keyboard focus.
    virtual void Focus(int control) = 0;
    // The bus chooser's items and the chosen one.
    virtual void SetChoices(const std::vector<std::string>& items, int chosen) = 0;
    virtual int Chosen() = 0;
    virtual void AddLine(const std::string& line) = 0;
    virtual void ClearLines() = 0;
    virtual void SetProgress(int percent) = 0;
    // The bar's fill: the window's progress colour, or red once a command has failed.
    virtual void SetProgressTone(ResultTone tone) = 0;
    // Multi-line text, wrapped to the strip's width.
    virtual void SetResult(ResultTone tone, const std::string& text) = 0;
    // A modal Yes/No question over this window, No the default (Enter, Escape and the
    // close box all answer No). True for Yes.
    virtual bool Confirm(const std::string& title, const std::string& question) = 0;
    // The toolkit's open-file dialog with the filter, over this window, starting at
    // `current`. The chosen path, or empty when cancelled.
    virtual std::string ChooseFile(const std::vector<FilterEntry>& filter,
                                   const std::string& current) = 0;
    // Centres over this window the other shown top-level windows it owns, by the arithmetic
    // the plug-in centres Setup with: About, which the plug-in leaves where the window
    // system puts a new window (the top-left corner of an X screen without a window
    // manager).
    virtual void CentreOwnedWindows() = 0;
    // Draws what has changed now, without waiting for the event loop.
    virtual void Flush() = 0;

    // For tests, acting as a person does through the toolkit's own event paths:
    virtual GuiReading Read() = 0;
    // A pointer click on the control; a hidden or disabled control takes none.
    virtual void Click(int control) = 0;
    // A click that was already on its way when the control was disabled: it is still
    // delivered.
    virtual void ClickQueued(int control) = 0;
    virtual void Type(int control, const std::string& text) = 0;
    virtual void Choose(int item) = 0;
    virtual void PressWriteAgainKey() = 0;
    virtual void Drop(const std::string& path) = 0;
    virtual void CloseFromTitleBar() = 0;
    // Runs `task` once from whichever event loop runs `ms` milliseconds from now (a
    // plug-in dialog's modal loop included).
    virtual void After(int ms, std::function<void()> task) = 0;
};

// A message before or instead of the window (usage, --help, a plug-in that will not
// load): on the terminal ispgui was started from, else in a message box.
void ShowStartupMessage(const std::string& text, bool error);

// Hooks for tests and screenshots; null removes them.
// After a delivered progress message has reached the progress bar.
using ProgressHook = std::function<void(GuiView& view, int percent)>;
void SetProgressHook(ProgressHook hook);
void NotifyProgress(GuiView& view, int percent);
// Once the file dialog is shown, from inside its loop.
using FileDialogHook = std::function<void(FileDialog& dialog)>;
void SetFileDialogHook(FileDialogHook hook);
void NotifyFileDialogShown(FileDialog& dialog);

} // namespace rtd::gui

#endif
