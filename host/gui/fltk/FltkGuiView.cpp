// ispgui's main window on Linux: FLTK 1.3 on X11. The plug-in's dialogs use the same
// FLTK library, so they run in this window's display and event handling.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Browser.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_File_Browser.H>
#include <FL/Fl_File_Chooser.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Progress.H>
#include <FL/fl_ask.H>
#include <FL/fl_draw.H>
#include <FL/x.H>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <list>
#include <memory>

#include "DropText.h"
#include "FltkControls.h"
#include "GuiView.h"
#include "posix/QueuedForm.h"

namespace rtd::gui {
namespace {

const char kFileDialogTitle[] = "Firmware file";

// Every widget below `group`, depth first.
template <typename Visit> void ForEachWidget(Fl_Group& group, Visit visit) {
    for (int i = 0; i < group.children(); ++i) {
        Fl_Widget* child = group.child(i);
        visit(*child);
        if (Fl_Group* inner = child->as_group())
            ForEachWidget(*inner, visit);
    }
}

template <typename Widget> Widget* FindWidget(Fl_Group& group) {
    Widget* found = nullptr;
    ForEachWidget(group, [&](Fl_Widget& w) {
        if (!found)
            found = dynamic_cast<Widget*>(&w);
    });
    return found;
}

// A key through FLTK's own dispatch, as the X server would deliver it: to the focused
// widget, then as a shortcut to the window.
void TypeKey(Fl_Window& window, int key, const char* text) {
    Fl::e_keysym = key;
    Fl::e_state = 0;
    Fl::e_text = const_cast<char*>(text);
    Fl::e_length = static_cast<int>(std::strlen(text));
    Fl::handle(FL_KEYBOARD, &window);
    Fl::e_text = const_cast<char*>("");
    Fl::e_length = 0;
}

class FltkGuiView;

// The main form handed to the plug-in: progress waits in the queue until the plug-in
// processes messages, which also lets FLTK handle everything else that is waiting.
class MainForm : public host::QueuedForm {
public:
    MainForm(Fl_Window* window, host::ProgressDisplay display, host::Trace* trace)
        : QueuedForm(std::move(display), trace), window_(window) {}

    int GetLeft() override { return window_->x(); }
    int GetTop() override { return window_->y(); }
    int GetWidth() override { return window_->decorated_w(); }
    int GetHeight() override { return window_->decorated_h(); }
    uintptr_t GetHandle() override { return window_->shown() ? fl_xid(window_) : 0; }

    void ProcessMessages() override {
        QueuedForm::ProcessMessages();
        Fl::check();
    }

private:
    Fl_Window* window_;
};

// The window: takes dropped files anywhere on it and F5 from any control.
class MainWindow : public Fl_Double_Window {
public:
    MainWindow(int w, int h, GuiEvents* events) : Fl_Double_Window(w, h), events_(events) {}

    int handle(int event) override {
        switch (event) {
        case FL_DND_ENTER:
        case FL_DND_DRAG:
        case FL_DND_RELEASE:
            Fl::belowmouse(this); // the drop is the window's, whichever control it is over
            return 1;
        case FL_DND_LEAVE:
            return 1;
        case FL_PASTE: {
            // Only a drop is pasted to the window itself; a paste into the file field goes
            // to the field.
            const std::string path = PathFromDropText(Fl::event_text() ? Fl::event_text() : "");
            if (!path.empty())
                events_->FileDropped(path);
            return 1;
        }
        case FL_SHORTCUT:
            if (Fl::event_key() == FL_F + 5) {
                events_->WriteAgainPressed();
                return 1;
            }
            break;
        }
        return Fl_Double_Window::handle(event);
    }

private:
    GuiEvents* events_;
};

// FLTK's file chooser while it is shown.
class FltkFileDialog : public FileDialog {
public:
    FltkFileDialog(Fl_File_Chooser& chooser, Fl_Window& window)
        : chooser_(chooser), window_(window) {}

    std::vector<std::string> FilterChoices() override {
        std::vector<std::string> choices;
        if (Fl_Choice* choice = FindWidget<Fl_Choice>(window_))
            for (int i = 0; i < choice->size() - 1; ++i) // the last item ends the menu
                if (const char* text = choice->text(i))
                    choices.push_back(text);
        return choices;
    }

    std::vector<std::string> ListedNames() override {
        std::vector<std::string> names;
        if (Fl_File_Browser* list = FindWidget<Fl_File_Browser>(window_))
            for (int i = 1; i <= list->size(); ++i)
                if (const char* text = list->text(i))
                    names.push_back(text);
        return names;
    }

    void Choose(const std::string& path) override {
        chooser_.value(path.c_str());
        chooser_.hide();
    }

    void Cancel() override {
        chooser_.value("");
        chooser_.hide();
    }

private:
    Fl_File_Chooser& chooser_;
    Fl_Window& window_;
};

// The chooser's filter menu: the entries' own patterns go to the file list from here
// (FltkFilter's labels are for reading); All Files and Custom Filter, the chooser's own
// items after them, go to its own callback.
class FilterMenu {
public:
    FilterMenu(Fl_File_Chooser& chooser, Fl_Window& window, const std::vector<FilterEntry>& filter)
        : chooser_(chooser), choice_(FindWidget<Fl_Choice>(window)),
          list_(FindWidget<Fl_File_Browser>(window)) {
        for (const FilterEntry& e : filter)
            patterns_.push_back(FltkPattern(e));
        if (!choice_ || !list_)
            return;
        own_ = choice_->callback();
        ownData_ = choice_->user_data();
        choice_->callback(OnChosen, this);
        OnChosen(choice_, this);
    }
    ~FilterMenu() {
        if (choice_ && own_)
            choice_->callback(own_, ownData_);
    }
    FilterMenu(const FilterMenu&) = delete;
    FilterMenu& operator=(const FilterMenu&) = delete;

private:
    static void OnChosen(Fl_Widget* widget, void* data) {
        auto* self = static_cast<FilterMenu*>(data);
        const int item = self->choice_->value();
        if (item < 0 || item >= static_cast<int>(self->patterns_.size())) {
            if (self->own_)
                self->own_(widget, self->ownData_);
            return;
        }
        self->list_->filter(self->patterns_[static_cast<size_t>(item)].c_str());
        self->chooser_.rescan_keep_filename();
    }

    Fl_File_Chooser& chooser_;
    Fl_Choice* choice_;
    Fl_File_Browser* list_;
    std::vector<std::string> patterns_;
    Fl_Callback* own_ = nullptr;
    void* ownData_ = nullptr;
};

class FltkGuiView : public GuiView {
public:
    FltkGuiView(const WindowLayout& layout, const std::string& caption, GuiEvents* events,
                host::Trace* trace)
        : layout_(layout), events_(events),
          window_(layout.clientWidth, layout.clientHeight, events),
          form_(
              &window_, [this](int percent) { ShowProgress(percent); }, trace) {
        window_.copy_label(caption.c_str());
        window_.color(ToFltk(kButtonFaceColour));
        window_.size_range(layout.clientWidth, layout.clientHeight, layout.clientWidth,
                           layout.clientHeight);
        window_.callback(OnTitleBarClose, this);
        for (size_t i = 0; i < layout.controls.size(); ++i)
            widgets_.push_back(Build(layout.controls[i], static_cast<int>(i)));
        window_.end();
    }

    ~FltkGuiView() override {
        // A task that has not run yet dies with the window it was meant for.
        for (Task& task : tasks_)
            Fl::remove_timeout(RunTask, &task);
        window_.hide();
    }

    TForm* Form() override { return &form_; }

    void Show(const WindowPlace* place) override {
        if (place) {
            int x = 0, y = 0, w = 0, h = 0;
            Fl::screen_work_area(x, y, w, h, place->left, place->top);
            const WindowPlace at =
                KeepOnScreen(*place, window_.w(), window_.h(), ScreenArea{x, y, w, h});
            window_.position(at.left, at.top);
        }
        window_.show();
        Widget(kFileEdit)->take_focus();
        window_.wait_for_expose();
        Flush();
    }

    void Run() override {
        while (window_.shown())
            Fl::wait();
    }

    void Close() override { window_.hide(); }
    bool IsOpen() override { return window_.shown() != 0; }
    WindowPlace Place() override { return {window_.x(), window_.y()}; }

    void SetText(int control, const std::string& text) override {
        Fl_Widget* widget = Widget(control);
        if (Fl_Input* input = dynamic_cast<Fl_Input*>(widget))
            input->value(text.c_str());
        else
            widget->copy_label(text.c_str());
        widget->redraw();
    }

    std::string Text(int control) override {
        Fl_Widget* widget = Widget(control);
        if (Fl_Input* input = dynamic_cast<Fl_Input*>(widget))
            return input->value();
        return widget->label() ? widget->label() : "";
    }

    void SetShown(int control, bool shown) override {
        if (shown)
            Widget(control)->show();
        else
            Widget(control)->hide();
    }

    void SetEnabled(int control, bool enabled) override {
        if (enabled)
            Widget(control)->activate();
        else
            Widget(control)->deactivate();
    }

    void Focus(int control) override { Widget(control)->take_focus(); }

    void SetChoices(const std::vector<std::string>& items, int chosen) override {
        // A menu built item by item: FLTK would read "/" in a bus name as a submenu.
        choiceTexts_ = items;
        choiceItems_.assign(items.size() + 1, Fl_Menu_Item{});
        const FontStyle& font = layout_.controls[kBusChoice].font;
        for (size_t i = 0; i < items.size(); ++i) {
            choiceItems_[i].text = choiceTexts_[i].c_str();
            choiceItems_[i].labelfont_ = FltkFont(font);
            choiceItems_[i].labelsize_ = static_cast<Fl_Fontsize>(font.pixelHeight);
        }
        Fl_Choice* choice = BusChoice();
        choice->menu(choiceItems_.data());
        choice->value(chosen);
        choice->redraw();
    }

    int Chosen() override { return BusChoice()->value(); }

    void AddLine(const std::string& line) override {
        Fl_Browser* list = MessageList();
        list->add(line.c_str());
        list->bottomline(list->size());
    }

    void ClearLines() override { MessageList()->clear(); }

    void SetProgress(int percent) override {
        Fl_Progress* bar = ProgressBar();
        bar->value(static_cast<float>(percent));
        bar->copy_label((std::to_string(percent) + "%").c_str());
    }

    void SetProgressTone(ResultTone tone) override {
        Fl_Progress* bar = ProgressBar();
        if (!progressColour_)
            progressColour_ = bar->selection_color();
        bar->selection_color(tone == ResultTone::Failed ? ToFltk(ResultColour(tone, 0))
                                                        : progressColour_);
        bar->redraw();
    }

    bool Confirm(const std::string& title, const std::string& question) override {
        // fl_choice's Enter button is its second, given "No" here, with the focus; Escape
        // and the close box answer 0, the first, left out. Only the third is Yes.
        fl_message_title(title.c_str());
        fl_message_hotspot(0);
        return fl_choice("%s", nullptr, "No", "Yes", question.c_str()) == 2;
    }

    void SetResult(ResultTone tone, const std::string& text) override {
        Fl_Widget* strip = Widget(kResultStrip);
        strip->color(ToFltk(ResultColour(tone, kButtonFaceColour)));
        strip->labelcolor(ToFltk(ResultTextColour(tone)));
        strip->copy_label(text.c_str());
        strip->redraw();
    }

    std::string ChooseFile(const std::vector<FilterEntry>& filter,
                           const std::string& current) override {
        const std::string start = current.empty() ? "." : current;
        Fl_File_Chooser chooser(nullptr, FltkFilter(filter).c_str(), Fl_File_Chooser::SINGLE,
                                kFileDialogTitle);
        chooser.preview(0);
        chooser.value(start.c_str());
        chooser.show();
        std::unique_ptr<FilterMenu> menu;
        if (Fl_Window* window = ChooserWindow()) {
            menu = std::make_unique<FilterMenu>(chooser, *window, filter);
            WidenForLabels(*window);
            window->wait_for_expose();
            Flush();
            FltkFileDialog dialog(chooser, *window);
            NotifyFileDialogShown(dialog);
        }
        while (chooser.shown())
            Fl::wait();
        const char* chosen = chooser.value();
        return chosen ? chosen : "";
    }

    void CentreOwnedWindows() override {
        if (!window_.shown())
            return;
        const ::Window self = fl_xid(&window_);
        for (Fl_Window* w = Fl::first_window(); w; w = Fl::next_window(w)) {
            ::Window owner = 0;
            if (w == &window_ || !w->shown() ||
                !XGetTransientForHint(fl_display, fl_xid(w), &owner) || owner != self)
                continue;
            w->position((window_.decorated_w() - w->decorated_w()) / 2 + window_.x(),
                        (window_.decorated_h() - w->decorated_h()) / 2 + window_.y());
        }
        Flush();
    }

    void Flush() override {
        Fl::flush();
        if (fl_display)
            XSync(fl_display, False);
    }

    GuiReading Read() override {
        GuiReading reading;
        reading.caption = window_.label() ? window_.label() : "";
        reading.open = window_.shown() != 0;
        reading.left = window_.x();
        reading.top = window_.y();
        reading.outerWidth = window_.decorated_w();
        reading.outerHeight = window_.decorated_h();
        reading.clientWidth = window_.w();
        reading.clientHeight = window_.h();
        for (size_t i = 0; i < widgets_.size(); ++i) {
            const Fl_Widget& w = *widgets_[i];
            GuiControlReading control;
            control.text = Text(static_cast<int>(i));
            control.shown = w.visible() != 0;
            control.enabled = w.active() != 0;
            control.left = w.x();
            control.top = w.y();
            control.width = w.w();
            control.height = w.h();
            control.fonts = FontsOf(w);
            reading.controls.push_back(control);
        }
        Fl_Browser* list = MessageList();
        for (int i = 1; i <= list->size(); ++i)
            reading.lines.push_back(list->text(i) ? list->text(i) : "");
        reading.progress = static_cast<int>(ProgressBar()->value());
        Fl_Choice* choice = BusChoice();
        for (int i = 0; i < choice->size() - 1; ++i)
            reading.choices.push_back(choice->text(i) ? choice->text(i) : "");
        reading.chosen = choice->value();
        reading.resultColour = FromFltk(Widget(kResultStrip)->color());
        reading.progressColour = FromFltk(ProgressBar()->selection_color());
        Fl_Widget* strip = Widget(kResultStrip);
        int width = (strip->align() & FL_ALIGN_WRAP) ? strip->w() : 0, height = 0;
        fl_font(strip->labelfont(), strip->labelsize());
        fl_measure(strip->label() ? strip->label() : "", width, height, 0);
        reading.resultTextWidth = width;
        reading.resultTextHeight = height;
        reading.acceptsDrops = true; // FLTK takes drops on every shown window
        return reading;
    }

    void Click(int control) override { ClickWidget(*Widget(control)); }
    void ClickQueued(int control) override { Widget(control)->do_callback(); }

    void Type(int control, const std::string& text) override {
        Fl_Input* input = dynamic_cast<Fl_Input*>(Widget(control));
        if (!input || !input->active_r() || !input->visible_r())
            return;
        // Click into the field, select what is there and type over it.
        ClickWidget(*input);
        input->position(input->size(), 0);
        if (!text.empty())
            TypeKey(window_, static_cast<unsigned char>(text[0]), text.c_str());
        else
            TypeKey(window_, FL_Delete, "");
    }

    void Choose(int item) override {
        Fl_Choice* choice = BusChoice();
        if (choice->active_r() && choice->visible_r() && item >= 0 && item < choice->size() - 1) {
            choice->value(item);
            choice->do_callback();
        }
    }

    void PressWriteAgainKey() override { TypeKey(window_, FL_F + 5, ""); }

    void Drop(const std::string& path) override {
        // What FLTK's X11 drag-and-drop code delivers: enter, release, then the URI list.
        std::string uri = "file://";
        for (unsigned char c : path) {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", c);
            uri += std::isalnum(c) || std::strchr("/-._~", c) ? std::string(1, static_cast<char>(c))
                                                              : std::string(escaped);
        }
        uri += "\r\n";
        Fl::e_x = window_.w() / 2;
        Fl::e_y = window_.h() / 2;
        if (!Fl::handle(FL_DND_ENTER, &window_) || !Fl::handle(FL_DND_RELEASE, &window_))
            return;
        Fl::e_text = const_cast<char*>(uri.c_str());
        Fl::e_length = static_cast<int>(uri.size());
        if (Fl_Widget* target = Fl::belowmouse())
            target->handle(FL_PASTE);
        Fl::e_text = const_cast<char*>("");
        Fl::e_length = 0;
    }

    void CloseFromTitleBar() override { window_.do_callback(); }

    void After(int ms, std::function<void()> task) override {
        tasks_.push_back({this, std::move(task)});
        Fl::add_timeout(ms / 1000.0, RunTask, &tasks_.back());
    }

private:
    Fl_Widget* Build(const ControlRow& control, int index) {
        Fl_Widget* widget = BuildWidget(control);
        if (control.kind == ControlKind::Button)
            widget->callback(OnButton, static_cast<long>(index));
        return widget;
    }

    static std::string FontsOf(const Fl_Widget& w) {
        std::string fonts = FontName(w.labelfont(), w.labelsize());
        if (const Fl_Input* input = dynamic_cast<const Fl_Input*>(&w))
            fonts += ", " + FontName(input->textfont(), input->textsize());
        else if (const Fl_Choice* choice = dynamic_cast<const Fl_Choice*>(&w))
            fonts += ", " + FontName(choice->textfont(), choice->textsize());
        else if (const Fl_Browser* list = dynamic_cast<const Fl_Browser*>(&w))
            fonts += ", " + FontName(list->textfont(), list->textsize());
        return fonts;
    }

    static std::string FontName(Fl_Font font, Fl_Fontsize size) {
        const char* name = Fl::get_font(font);
        return std::string(name ? name : "?") + " " + std::to_string(size);
    }

    // The chooser's filter menu grows with its window: the window is widened, on the
    // screen, until the widest label shows whole.
    static void WidenForLabels(Fl_Window& window) {
        Fl_Choice* choice = FindWidget<Fl_Choice>(window);
        if (!choice)
            return;
        int widest = 0;
        fl_font(choice->textfont(), choice->textsize());
        for (int i = 0; i < choice->size() - 1; ++i) {
            int w = 0, h = 0;
            fl_measure(choice->text(i) ? choice->text(i) : "", w, h, 0);
            widest = std::max(widest, w);
        }
        const int arrowAndEdges = 32;
        const int more = widest + arrowAndEdges - choice->w();
        if (more <= 0)
            return;
        int x = 0, y = 0, w = 0, h = 0;
        Fl::screen_work_area(x, y, w, h, window.x(), window.y());
        const WindowPlace at = KeepOnScreen({window.x(), window.y()}, window.w() + more, window.h(),
                                            ScreenArea{x, y, w, h});
        window.resize(at.left, at.top, window.w() + more, window.h());
    }

    // The chooser's window: the newest shown window with the chooser's title.
    static Fl_Window* ChooserWindow() {
        for (Fl_Window* w = Fl::first_window(); w; w = Fl::next_window(w))
            if (w->label() && std::strcmp(w->label(), kFileDialogTitle) == 0)
                return w;
        return nullptr;
    }

    void ShowProgress(int percent) {
        SetProgress(percent);
        NotifyProgress(*this, percent);
    }

    Fl_Widget* Widget(int control) { return widgets_.at(static_cast<size_t>(control)); }
    Fl_Choice* BusChoice() { return static_cast<Fl_Choice*>(Widget(kBusChoice)); }
    Fl_Browser* MessageList() { return static_cast<Fl_Browser*>(Widget(kMessageList)); }
    Fl_Progress* ProgressBar() { return static_cast<Fl_Progress*>(Widget(kProgressBar)); }

    static void OnButton(Fl_Widget* widget, long index) {
        auto* self = static_cast<FltkGuiView*>(widget->window()->user_data());
        self->events_->Clicked(static_cast<int>(index));
    }

    static void OnTitleBarClose(Fl_Widget*, void* data) {
        // FLTK sends Escape here too; only the close box closes the window.
        if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape)
            return;
        static_cast<FltkGuiView*>(data)->events_->CloseRequested();
    }

    static void RunTask(void* data) {
        auto* pending = static_cast<Task*>(data);
        const std::function<void()> task = std::move(pending->run);
        pending->view->tasks_.remove_if([pending](const Task& t) { return &t == pending; });
        task();
    }

    const WindowLayout& layout_;
    GuiEvents* events_;
    MainWindow window_;
    MainForm form_;
    std::vector<Fl_Widget*> widgets_; // owned by window_, in table order
    Fl_Color progressColour_ = 0;     // the bar's own fill, kept while it shows a failure
    std::vector<std::string> choiceTexts_;
    std::vector<Fl_Menu_Item> choiceItems_;
    struct Task {
        FltkGuiView* view;
        std::function<void()> run;
    };
    std::list<Task> tasks_; // After's, until they run
};

} // namespace

std::unique_ptr<GuiView> GuiView::Create(const WindowLayout& layout, const std::string& caption,
                                         GuiEvents* events, host::Trace* trace,
                                         std::string* error) {
    if (!fl_display) {
        // Open the display ourselves first: FLTK exits the process when it cannot.
        const char* name = std::getenv("DISPLAY");
        Display* display = name && *name ? XOpenDisplay(nullptr) : nullptr;
        if (!display) {
            *error = "cannot open the X display" +
                     std::string(name && *name ? " " + std::string(name) : " (DISPLAY is not set)");
            return nullptr;
        }
        fl_open_display(display);
    }
    auto view = std::make_unique<FltkGuiView>(layout, caption, events, trace);
    return view;
}

void ShowStartupMessage(const std::string& text, bool error) {
    (error ? std::cerr : std::cout) << text << (text.empty() || text.back() != '\n' ? "\n" : "");
}

} // namespace rtd::gui
