#pragma once
// One toolkit window: the control tree of a skin, its layout for a client size and display scale, and the
// routing of input to controls (hit testing, hot and pushed tracking, focus, keyboard, wheel) and of
// notifications to the owner.
//
// The window knows no platform. A host feeds it input and paints it; a modal window shown over it blocks its
// input until it closes, and the dimming control "_only_model_control_" (a floating control over everything)
// swallows clicks while it shows. Handlers may change or delete controls from inside a notification: the
// window forgets removed controls before they die and touches nothing of a control after notifying it.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/Accessible.h"
#include "toolkit/Container.h"
#include "toolkit/Input.h"
#include "toolkit/Painter.h"

namespace ui {

class Button;
class Clipboard;

// What kind of window a screen reader is told this is.
enum class WindowKind { Plain, Dialog, Menu };

inline constexpr std::wstring_view kOverlayName = L"_only_model_control_";

struct FontSpec {
    int id = 0;
    std::wstring face;
    int size = 12;
    bool bold = false;
    bool underline = false;
    bool isDefault = false;
};

class Window {
public:
    using NotifyHandler = std::function<void(const Notify&)>;

    Window();
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    void setRoot(std::unique_ptr<Control> root);
    Control* root() const { return m_root.get(); }
    Control* findControl(std::wstring_view name) const;
    template <class T>
    T* find(std::wstring_view name) const {
        return dynamic_cast<T*>(findControl(name));
    }

    WindowKind kind() const { return m_kind; }
    void setKind(WindowKind kind) { m_kind = kind; }
    // The name screen readers announce; hosts with a native title use that when this is empty.
    const std::wstring& title() const { return m_title; }
    void setTitle(std::wstring_view title) { m_title = title; }
    // The accessible view of this window, made on the first call (a client asked); null before.
    AccessibleTree& accessible();
    AccessibleTree* accessibleIfMade() const { return m_accessible.get(); }

    // Skin-level settings ("size", "caption", fonts); the size is in skin pixels.
    Size initialSize() const { return m_initialSize; }
    void setInitialSize(Size size) { m_initialSize = size; }
    int captionHeight() const { return m_captionHeight; }
    void setCaptionHeight(int height) { m_captionHeight = height; }
    std::vector<FontSpec>& fonts() { return m_fonts; }
    const FontSpec* font(int id) const;

    // Layout for a client area of `client` pixels at display factor `scale`.
    void setScale(double scale);
    double scale() const { return m_scale; }
    void resize(Size client);
    Size clientSize() const { return m_client; }
    void layout();
    void needLayout() {
        m_layoutDirty = true;
        invalidate();
    }
    // Something visible changed: the host repaints (a no-op without one).
    void invalidate() {
        if (m_onInvalidate) m_onInvalidate();
    }
    void setOnInvalidate(std::function<void()> onInvalidate) { m_onInvalidate = std::move(onInvalidate); }
    bool layoutDirty() const { return m_layoutDirty; }
    // Skin size at the current scale.
    Size scaledInitialSize() const;

    void setTextMetrics(const TextMetrics* metrics) { m_metrics = metrics; }
    const TextMetrics& textMetrics() const { return m_metrics ? *m_metrics : defaultMetrics(); }
    static const TextMetrics& defaultMetrics();

    // The host's clipboard; null when there is none (copy and paste then do nothing).
    void setClipboard(Clipboard* clipboard) { m_clipboard = clipboard; }
    Clipboard* clipboard() const { return m_clipboard; }

    void addNotifier(NotifyHandler handler) { m_notifiers.push_back(std::move(handler)); }
    void sendNotify(const Notify& notify);

    // Input from the host, in client pixels. All of it is refused while a modal window is open over this one.
    void mouseMove(Point p);
    void mouseDown(Point p, MouseButton button, bool doubleClick = false);
    void mouseUp(Point p, MouseButton button);
    void mouseLeave();
    void wheel(Point p, int notches); // positive: away from the user (scroll up)
    void keyDown(Key key, KeyModifiers mods = {});
    // A key press by its virtual-key code, offered first to the key capture (a hot-key edit takes any key,
    // Alt combinations included); false when nothing took it and the host goes on as for any key.
    bool virtualKeyDown(std::uint16_t virtualKey, KeyModifiers mods);
    using KeyCapture = std::function<bool(Control& focus, std::uint16_t virtualKey, KeyModifiers mods)>;
    void setKeyCapture(KeyCapture capture) { m_keyCapture = std::move(capture); }
    void character(wchar_t c);

    Control* controlAt(Point p) const;
    // Where the mouse was at the last mouse event (a menu opened by a right click opens there).
    Point lastMousePoint() const { return m_lastMouse; }
    // The tooltip for the mouse at `p`, as plain text: that of the topmost shown control there which has one or
    // takes the mouse (a label's tooltip shows over the row button below it), else of its nearest ancestor
    // with one. Empty over a disabled control, while a button is held down and while input is blocked.
    std::wstring tooltipAt(Point p) const;
    Control* focus() const { return m_focus; }
    Control* hotControl() const { return m_hot; }
    void setFocus(Control* control);
    // For the native host: runs after every change of the focused control.
    void setOnFocusChanged(std::function<void(Control*)> onFocus) { m_onFocusChanged = std::move(onFocus); }
    // What a click on the button does, without the mouse: the focus moves as a click moves it, then the button
    // acts. False when a click could not reach it (hidden, disabled, under the dimming layer or a modal window).
    bool activate(Button& button);
    // Tab order: visible, enabled controls that take the focus, in tree order.
    bool moveFocus(bool forward);

    // Dimming and modality.
    void showOverlay(bool show);
    bool overlayShown() const;
    void showModal(Window& owner);
    void close(int code = 0);
    bool isOpen() const { return m_open; }
    bool inputBlocked() const { return m_modalChild != nullptr; }
    int closeCode() const { return m_closeCode; }
    void setOnClose(std::function<void(int)> onClose) { m_onClose = std::move(onClose); }
    // For the native host: a combo of this window opened its list (the host shows a ComboDropDown).
    void setOnDropDown(std::function<void(Control&)> onDropDown) { m_onDropDown = std::move(onDropDown); }
    void dropDown(Control& combo) {
        if (m_onDropDown) m_onDropDown(combo);
    }
    // For the native host: runs after the owner's close callback, however the window was closed.
    void setOnHostClose(std::function<void()> onHostClose) { m_onHostClose = std::move(onHostClose); }
    // Escape closes the window with code 0 unless this returns true.
    void setOnEscape(std::function<bool()> onEscape) { m_onEscape = std::move(onEscape); }

    void paint(Painter& painter);

    // Called by controls.
    void controlRemoved(Control* control);
    void controlHidden(Control* control);

private:
    void setHot(Control* control);
    void collectFocusable(Control* from, std::vector<Control*>& out) const;

    std::unique_ptr<Control> m_root;
    Size m_initialSize;
    int m_captionHeight = 0;
    std::vector<FontSpec> m_fonts;
    double m_scale = 1.0;
    Size m_client;
    bool m_layoutDirty = true;
    const TextMetrics* m_metrics = nullptr;
    Clipboard* m_clipboard = nullptr;
    std::vector<NotifyHandler> m_notifiers;

    Control* m_hot = nullptr;
    Control* m_captured = nullptr;
    Control* m_focus = nullptr;
    Point m_lastMouse;
    Control* m_activating = nullptr;
    WindowKind m_kind = WindowKind::Plain;
    std::wstring m_title;
    std::unique_ptr<AccessibleTree> m_accessible;
    std::function<void(Control*)> m_onFocusChanged;
    KeyCapture m_keyCapture;

    bool m_open = true;
    int m_closeCode = 0;
    Window* m_modalOwner = nullptr;
    Window* m_modalChild = nullptr;
    std::function<void(int)> m_onClose;
    std::function<bool()> m_onEscape;
    std::function<void()> m_onInvalidate;
    std::function<void()> m_onHostClose;
    std::function<void(Control&)> m_onDropDown;
};

} // namespace ui
