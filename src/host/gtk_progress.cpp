// The progress window in GTK 3. GTK is opened with dlopen on first use and
// each function is looked up with its own declared type, so the driver
// neither links GTK nor needs it (or a display) to run.
#include "host/progress.hpp"

#if ORVDB_HAVE_GTK

#include <dlfcn.h>
#include <gtk/gtk.h>

#include <mutex>

namespace orvdb::host {

namespace {

#define ORVDB_GTK_FUNCTIONS(X)                   \
    X(gtk_init_check)                            \
    X(gtk_window_new)                            \
    X(gtk_window_set_title)                      \
    X(gtk_window_set_default_size)               \
    X(gtk_window_set_resizable)                  \
    X(gtk_window_set_position)                   \
    X(gtk_window_set_deletable)                  \
    X(gtk_fixed_new)                             \
    X(gtk_fixed_put)                             \
    X(gtk_container_add)                         \
    X(gtk_label_new)                             \
    X(gtk_label_set_text)                        \
    X(gtk_label_set_xalign)                      \
    X(gtk_progress_bar_new)                      \
    X(gtk_progress_bar_set_fraction)             \
    X(gtk_widget_set_size_request)               \
    X(gtk_widget_show_all)                       \
    X(gtk_widget_destroy)                        \
    X(gtk_events_pending)                        \
    X(gtk_main_iteration_do)                     \
    X(gtk_css_provider_new)                      \
    X(gtk_css_provider_load_from_data)           \
    X(gtk_style_context_add_provider_for_screen) \
    X(gdk_screen_get_default)                    \
    X(g_object_unref)

struct Gtk {
#define ORVDB_GTK_POINTER(name) decltype(&::name) name = nullptr;
    ORVDB_GTK_FUNCTIONS(ORVDB_GTK_POINTER)
#undef ORVDB_GTK_POINTER
};

// Looks like the suite's window: a light face, Arial 8 pt, smooth green bars
// that fill their whole height.
constexpr const char* kStyle =
    "window { background-color: #f0f0f0; }"
    "label { font: 8pt Arial; color: #000000; }"
    "progressbar trough { min-height: 25px; min-width: 1px; background-color: #e6e6e6;"
    "  border: 1px solid #bcbcbc; border-radius: 0; padding: 0; }"
    "progressbar progress { min-height: 25px; background-color: #06b025; border: none;"
    "  border-radius: 0; }";

struct Loaded {
    const Gtk* gtk = nullptr;
    std::string why;
};

// Loads GTK and opens the display once per process.
const Loaded& loadGtk() {
    static Loaded loaded;
    static std::once_flag once;
    std::call_once(once, [] {
        static Gtk gtk;
        void* library = ::dlopen("libgtk-3.so.0", RTLD_NOW | RTLD_LOCAL);
        if (!library) {
            const char* error = ::dlerror();
            loaded.why = std::string("GTK 3 cannot be loaded: ") + (error ? error : "unknown");
            return;
        }
#define ORVDB_GTK_LOOKUP(name)                                               \
    gtk.name = reinterpret_cast<decltype(&::name)>(::dlsym(library, #name)); \
    if (!gtk.name) {                                                         \
        loaded.why = "GTK 3 lacks " #name;                                   \
        return;                                                              \
    }
        ORVDB_GTK_FUNCTIONS(ORVDB_GTK_LOOKUP)
#undef ORVDB_GTK_LOOKUP
        if (!gtk.gtk_init_check(nullptr, nullptr)) {
            loaded.why = "no display can be opened (DISPLAY is " +
                         std::string(std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "unset") +
                         ")";
            return;
        }
        GtkCssProvider* css = gtk.gtk_css_provider_new();
        gtk.gtk_css_provider_load_from_data(css, kStyle, -1, nullptr);
        gtk.gtk_style_context_add_provider_for_screen(gtk.gdk_screen_get_default(),
                                                      reinterpret_cast<GtkStyleProvider*>(css),
                                                      GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
        gtk.g_object_unref(css);
        loaded.gtk = &gtk;
    });
    return loaded;
}

// The window: 405 x 131, centred, without caption-bar buttons; two captions
// above two bars, at the places the suite's window has them.
class GtkProgress : public ProgressWindow {
public:
    explicit GtkProgress(const Gtk& gtk) : gtk_(gtk) {}
    ~GtkProgress() override { close(); }

    void show() override {
        close();
        window_ = gtk_.gtk_window_new(GTK_WINDOW_TOPLEVEL);
        GtkWindow* window = reinterpret_cast<GtkWindow*>(window_);
        gtk_.gtk_window_set_title(window, "Progression...");
        gtk_.gtk_window_set_default_size(window, 405, 131);
        gtk_.gtk_widget_set_size_request(window_, 405, 131);
        gtk_.gtk_window_set_resizable(window, FALSE);
        gtk_.gtk_window_set_deletable(window, FALSE);
        gtk_.gtk_window_set_position(window, GTK_WIN_POS_CENTER);
        GtkWidget* fixed = gtk_.gtk_fixed_new();
        gtk_.gtk_container_add(reinterpret_cast<GtkContainer*>(window_), fixed);
        auto place = [&](GtkWidget* widget, int left, int top, int width, int height) {
            gtk_.gtk_widget_set_size_request(widget, width, height);
            gtk_.gtk_fixed_put(reinterpret_cast<GtkFixed*>(fixed), widget, left, top);
        };
        bars_[0] = gtk_.gtk_progress_bar_new();
        bars_[1] = gtk_.gtk_progress_bar_new();
        captions_[0] = gtk_.gtk_label_new("stTablename");
        captions_[1] = gtk_.gtk_label_new("stFieldname");
        for (GtkWidget* caption : captions_) {
            gtk_.gtk_label_set_xalign(reinterpret_cast<GtkLabel*>(caption), 0);
        }
        place(bars_[0], 17, 29, 367, 27);
        place(bars_[1], 17, 89, 367, 27);
        place(captions_[0], 17, 8, 65, 18);
        place(captions_[1], 17, 69, 61, 18);
        gtk_.gtk_widget_show_all(window_);
        ProgressWindow::show();
    }

    void finish() override { close(); }

protected:
    void repaint() override {
        if (!window_) {
            return;
        }
        {
            std::lock_guard lock(mutex_);
            for (int i = 0; i < 2; ++i) {
                const ProgressBar& bar = bars()[i];
                double fraction = bar.max > 0 ? static_cast<double>(bar.position) / bar.max : 0.0;
                gtk_.gtk_progress_bar_set_fraction(reinterpret_cast<GtkProgressBar*>(bars_[i]),
                                                   fraction);
                gtk_.gtk_label_set_text(reinterpret_cast<GtkLabel*>(captions_[i]),
                                        bar.caption.c_str());
            }
        }
        pump();
    }

private:
    // The run holds the thread: let GTK draw what changed before going on.
    void pump() {
        while (gtk_.gtk_events_pending()) {
            gtk_.gtk_main_iteration_do(FALSE);
        }
    }

    void close() {
        if (window_) {
            gtk_.gtk_widget_destroy(window_);
            window_ = nullptr;
            pump();
        }
    }

    const Gtk& gtk_;
    GtkWidget* window_ = nullptr;
    GtkWidget* bars_[2] = {};
    GtkWidget* captions_[2] = {};
};

}  // namespace

std::unique_ptr<ProgressWindow> makeGtkProgress(std::string& why) {
    const Loaded& loaded = loadGtk();
    if (!loaded.gtk) {
        why = loaded.why;
        return nullptr;
    }
    return std::make_unique<GtkProgress>(*loaded.gtk);
}

}  // namespace orvdb::host

#else

namespace orvdb::host {

std::unique_ptr<ProgressWindow> makeGtkProgress(std::string& why) {
    why = "this build has no GTK 3 support (libgtk-3-dev was missing)";
    return nullptr;
}

}  // namespace orvdb::host

#endif
