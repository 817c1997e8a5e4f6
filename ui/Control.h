#pragma once
#include <functional>
#include <string>
#include <vector>

#include "ui/Geometry.h"

namespace tovik::ui {

class Control;

// What a control's property change means on screen. The headless toolkit
// has none: there the control's own fields are all there is to see.
enum class Property { Caption, Visible, Enabled, Checked, Color, Hint, Image, Value, Range, Bounds };

class ControlPeer {
public:
    virtual ~ControlPeer() = default;
    virtual void propertyChanged(Control& control, Property what) = 0;
    virtual void focusRequested(Control& control) = 0;
    // Screen readers are to read the control's text now.
    virtual void announceRequested(Control&) {}
};

// A control of the main window. It holds every property the program sets
// and reads; a peer, when attached, mirrors the changes on screen.
class Control {
public:
    Control(int id, std::string name, Rect bounds, std::string caption, Font font);
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    int id() const { return id_; }
    const std::string& name() const { return name_; }
    const Rect& bounds() const { return bounds_; }
    const Font& font() const { return font_; }

    const std::string& caption() const { return caption_; }
    void setCaption(const std::string& text);
    bool visible() const { return visible_; }
    void setVisible(bool on);
    bool enabled() const { return enabled_; }
    void setEnabled(bool on);
    const std::string& hint() const { return hint_; }
    void setHint(const std::string& text);
    // Tool tips show for controls with a hint unless this is off.
    bool showHint() const { return showHint_; }
    void setShowHint(bool on) { showHint_ = on; }

    int tabOrder() const { return tabOrder_; }
    bool tabStop() const { return tabStop_; }
    void setTabOrder(int order, bool stop) { tabOrder_ = order; tabStop_ = stop; }

    // Moves the keyboard focus here; the toolkit records which control has it.
    void setFocus();

    // Asks screen readers to read the text now, politely, after what they are
    // saying. A text that changes ten times a second is announced only at the
    // moments that matter, never on each change.
    void announce();
    // How often the text was announced.
    int announcements() const { return announcements_; }

    // A click from the user or from a handler: runs the bound handler to its end.
    void click();
    void doubleClick();
    std::function<void()> onClick;
    std::function<void()> onDblClick;

    void attachPeer(ControlPeer* peer) { peer_ = peer; }
    // Where setFocus records the focused control (the window's focus slot).
    void attachFocusSlot(Control** slot) { focusSlot_ = slot; }

protected:
    void changed(Property what);

private:
    int id_;
    std::string name_;
    Rect bounds_;
    Font font_;
    std::string caption_;
    std::string hint_;
    bool visible_ = true;
    bool enabled_ = true;
    bool showHint_ = true;
    int tabOrder_ = 0;
    bool tabStop_ = true;
    int announcements_ = 0;
    ControlPeer* peer_ = nullptr;
    Control** focusSlot_ = nullptr;
};

enum class ImageLayout { Left, Right };

// A button, with an optional image beside its text.
class Button : public Control {
public:
    using Control::Control;
    // The resource id of the button's image; 0 for none.
    int image() const { return image_; }
    void setImage(int resourceId);
    void removeImage() { setImage(0); }
    ImageLayout imageLayout() const { return layout_; }
    void setImageLayout(ImageLayout layout);
    int spacing() const { return spacing_; }
    void setSpacing(int pixels) { spacing_ = pixels; }
    // Marked as a default button (drawn with the heavier frame).
    bool isDefault() const { return default_; }
    void setDefault(bool on) { default_ = on; }
    // The cancel button is clicked by Esc while it is enabled.
    bool isCancel() const { return cancel_; }
    void setCancel(bool on) { cancel_ = on; }
    // Flat buttons are drawn without a frame until the mouse is over them.
    bool isFlat() const { return flat_; }
    void setFlat(bool on) { flat_ = on; }

private:
    int image_ = 0;
    ImageLayout layout_ = ImageLayout::Left;
    int spacing_ = 4;
    bool default_ = false;
    bool cancel_ = false;
    bool flat_ = false;
};

class CheckBox : public Control {
public:
    using Control::Control;
    bool checked() const { return checked_; }
    void setChecked(bool on);
    // A user's click: the check mark flips, then the click handler runs.
    void toggleByUser();

private:
    bool checked_ = false;
};

class StaticText : public Control {
public:
    StaticText(int id, std::string name, Rect bounds, std::string caption, Font font, Color color);
    Color color() const { return color_; }
    void setColor(Color color);

private:
    Color color_;
};

// The numeric field with up and down arrows. It keeps its text; the value is
// read from the text, and every write clamps into the range.
class SpinEdit : public Control {
public:
    SpinEdit(int id, std::string name, Rect bounds, int value, int minValue, int maxValue, Font font);
    int minValue() const { return min_; }
    int maxValue() const { return max_; }
    // The shown text; typing changes it, and every change calls onChange.
    const std::string& text() const { return caption(); }
    // The text as a signed 32-bit decimal number, not clamped; a text that is
    // no such number (empty, a lone sign, too large, letters) reads as the minimum.
    int value() const;
    // Clamps into the range and shows plain digits. A change of the text
    // calls onChange once; writing the text already shown calls nothing.
    void setValue(long long value);
    // A change of the text by the user (typing, pasting, cutting), or the
    // control's echo of a write, which then changes nothing.
    void setTextByUser(const std::string& text);
    // The Up and Down keys and the arrows: the value read plus delta, written.
    void step(int delta) { setValue(static_cast<long long>(value()) + delta); }
    // The focus moves on: a value read outside the range is written back clamped.
    void leave();
    // A character typed into the field, after the window's key preview: the
    // key-press handler sees it, then the field takes digits, signs, the
    // decimal separator and control characters other than Enter. False when
    // the field refuses it (the toolkit then beeps); a key the handler set to
    // 0 is swallowed without a beep.
    bool typeCharacter(char& key);
    std::function<void()> onChange;
    std::function<void(char&)> onKeyPress;
    // The user's decimal separator, asked at each typed character.
    std::function<std::string()> decimalSeparator;

private:
    int min_;
    int max_;
};

// An editable drop-down list: a text field with a list of fixed items.
class ComboBox : public Control {
public:
    using Control::Control;
    const std::string& text() const { return caption(); }
    const std::vector<std::string>& items() const { return items_; }
    void setItems(std::vector<std::string> items) { items_ = std::move(items); }
    // The chosen item, -1 when none is (at start, and after typing).
    int selectedIndex() const { return selected_; }
    // The chosen item's text; empty when none is chosen.
    std::string selectedText() const;
    // The user chose an item from the list: it becomes the text.
    void selectByUser(int index);
    // The user typed into the text: no item is chosen any more.
    void typeByUser(const std::string& text);
    std::function<void()> onChange;

private:
    std::vector<std::string> items_;
    int selected_ = -1;
};

// A horizontal bar on a coloured background, painted by the window itself.
class Gauge : public Control {
public:
    Gauge(int id, std::string name, Rect bounds, Color backColor, Color barColor);
    int minValue() const { return min_; }
    int maxValue() const { return max_; }
    int progress() const { return progress_; }
    void setMinValue(int value);
    void setMaxValue(int value);
    // The progress is kept within the gauge's range.
    void setProgress(int value);
    Color backColor() const { return back_; }
    void setBackColor(Color color);
    Color barColor() const { return bar_; }
    // The bar's width in pixels inside the given inner width.
    int barWidth(int innerWidth) const;

private:
    int min_ = 0;
    int max_ = 100;
    int progress_ = 100;
    Color back_;
    Color bar_;
};

}  // namespace tovik::ui
