#include "ui/Control.h"

#include <algorithm>
#include <utility>

namespace tovik::ui {

Control::Control(int id, std::string name, Rect bounds, std::string caption, Font font)
    : id_(id), name_(std::move(name)), bounds_(bounds), font_(std::move(font)), caption_(std::move(caption)) {}

void Control::changed(Property what) {
    if (peer_) peer_->propertyChanged(*this, what);
}

void Control::setCaption(const std::string& text) {
    if (caption_ == text) return;
    caption_ = text;
    changed(Property::Caption);
}

void Control::setVisible(bool on) {
    if (visible_ == on) return;
    visible_ = on;
    changed(Property::Visible);
}

void Control::setEnabled(bool on) {
    if (enabled_ == on) return;
    enabled_ = on;
    changed(Property::Enabled);
}

void Control::setHint(const std::string& text) {
    if (hint_ == text) return;
    hint_ = text;
    changed(Property::Hint);
}

void Control::setFocus() {
    if (focusSlot_) *focusSlot_ = this;
    if (peer_) peer_->focusRequested(*this);
}

void Control::announce() {
    ++announcements_;
    if (peer_) peer_->announceRequested(*this);
}

void Control::click() {
    if (onClick) onClick();
}

void Control::doubleClick() {
    if (onDblClick) onDblClick();
}

void Button::setImage(int resourceId) {
    if (image_ == resourceId) return;
    image_ = resourceId;
    changed(Property::Image);
}

void Button::setImageLayout(ImageLayout layout) {
    if (layout_ == layout) return;
    layout_ = layout;
    changed(Property::Image);
}

void CheckBox::setChecked(bool on) {
    if (checked_ == on) return;
    checked_ = on;
    changed(Property::Checked);
}

void CheckBox::toggleByUser() {
    setChecked(!checked_);
    click();
}

StaticText::StaticText(int id, std::string name, Rect bounds, std::string caption, Font font, Color color)
    : Control(id, std::move(name), bounds, std::move(caption), std::move(font)), color_(color) {}

void StaticText::setColor(Color color) {
    if (color_ == color) return;
    color_ = color;
    changed(Property::Color);
}

SpinEdit::SpinEdit(int id, std::string name, Rect bounds, int value, int minValue, int maxValue, Font font)
    : Control(id, std::move(name), bounds, std::to_string(value), std::move(font)), min_(minValue), max_(maxValue) {}

int SpinEdit::value() const {
    const std::string& text = caption();
    std::size_t at = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) at = 1;
    if (at == text.size()) return min_;
    // The magnitude may reach 2^31 for the most negative value.
    const long long limit = negative ? 2147483648LL : 2147483647LL;
    long long magnitude = 0;
    for (; at < text.size(); ++at) {
        if (text[at] < '0' || text[at] > '9') return min_;
        magnitude = magnitude * 10 + (text[at] - '0');
        if (magnitude > limit) return min_;
    }
    return static_cast<int>(negative ? -magnitude : magnitude);
}

void SpinEdit::setValue(long long value) {
    setTextByUser(std::to_string(std::clamp<long long>(value, min_, max_)));
}

void SpinEdit::setTextByUser(const std::string& text) {
    if (text == caption()) return;
    setCaption(text);
    if (onChange) onChange();
}

void SpinEdit::leave() {
    const int read = value();
    if (read < min_ || read > max_) setValue(read);
}

bool SpinEdit::typeCharacter(char& key) {
    if (onKeyPress) onKeyPress(key);
    if (key == 0) return true;
    const std::string separator = decimalSeparator ? decimalSeparator() : std::string(",");
    const bool control = static_cast<unsigned char>(key) < 32 && key != '\r';
    return (key >= '0' && key <= '9') || key == '+' || key == '-' || control ||
           (separator.size() == 1 && key == separator[0]);
}

std::string ComboBox::selectedText() const {
    return selected_ >= 0 && selected_ < static_cast<int>(items_.size()) ? items_[static_cast<size_t>(selected_)]
                                                                         : std::string();
}

void ComboBox::selectByUser(int index) {
    selected_ = index >= 0 && index < static_cast<int>(items_.size()) ? index : -1;
    if (selected_ >= 0) setCaption(items_[static_cast<size_t>(selected_)]);
    if (onChange) onChange();
}

void ComboBox::typeByUser(const std::string& text) {
    selected_ = -1;
    setCaption(text);
    if (onChange) onChange();
}

Gauge::Gauge(int id, std::string name, Rect bounds, Color backColor, Color barColor)
    : Control(id, std::move(name), bounds, "", Font{}), back_(backColor), bar_(barColor) {}

void Gauge::setMinValue(int value) {
    min_ = value;
    if (max_ < min_) max_ = min_;
    progress_ = std::clamp(progress_, min_, max_);
    changed(Property::Range);
}

void Gauge::setMaxValue(int value) {
    max_ = std::max(value, min_);
    progress_ = std::clamp(progress_, min_, max_);
    changed(Property::Range);
}

void Gauge::setProgress(int value) {
    const int clamped = std::clamp(value, min_, max_);
    if (clamped == progress_) return;
    progress_ = clamped;
    changed(Property::Value);
}

void Gauge::setBackColor(Color color) {
    if (back_ == color) return;
    back_ = color;
    changed(Property::Color);
}

int Gauge::barWidth(int innerWidth) const {
    const long long span = static_cast<long long>(max_) - min_;
    if (span <= 0) return 0;
    return static_cast<int>(innerWidth * (static_cast<long long>(progress_) - min_) / span);
}

}  // namespace tovik::ui
