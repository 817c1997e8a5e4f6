#include "ui/MainWindow.h"

#include <algorithm>

#include "res/ResourceIds.h"
#include "ui/ControlIds.h"

namespace tovik::ui {

unsigned ShiftStateOf(bool shiftDown, bool altDown, bool ctrlDown, bool rightAltDown) {
    const bool altGr = rightAltDown && altDown && ctrlDown;
    return (shiftDown ? ssShift : 0u) | (altDown && !altGr ? ssAlt : 0u) | (ctrlDown && !altGr ? ssCtrl : 0u);
}

namespace {

Font windowFont() { return Font{"MS Sans Serif", -11, false, false}; }
Font flatFont() { return Font{"MS Sans Serif", -11, true, false}; }
Font verdana(int height, bool bold) { return Font{"Verdana", height, bold, false}; }

void imageButton(Button& button, int image, int tab) {
    button.setDefault(true);
    button.setImage(image);
    button.setSpacing(12);
    button.setTabOrder(tab, true);
}

}  // namespace

TForm1::TForm1()
    : Gauge2(ids::Gauge2, "Gauge2", {3, 2, 562, 59}, clSkyBlue, clBlue),
      Gauge1(ids::Gauge1, "Gauge1", {8, 232, 553, 49}, clSkyBlue, clBlue),
      btFormPlus(ids::btFormPlus, "btFormPlus", {324, 210, 30, 20}, "F+", flatFont()),
      btFormMinus(ids::btFormMinus, "btFormMinus", {289, 210, 30, 20}, "F-", flatFont()),
      btFormHeight1Store(ids::btFormHeight1Store, "btFormHeight1Store", {358, 210, 105, 20}, "Store small value", flatFont()),
      btFormHeight2Store(ids::btFormHeight2Store, "btFormHeight2Store", {464, 210, 97, 20}, "Store big value", flatFont()),
      btPwrOff(ids::btPwrOff, "btPwrOff", {8, 120, 273, 49}, "Sofort ausschalten", verdana(-14, true)),
      stSeconds(ids::stSeconds, "stSeconds", {24, 240, 521, 33}, "X", Font{"Verdana", -23, false, true}, clSkyBlue),
      btNewStart(ids::btNewStart, "btNewStart", {8, 64, 273, 49}, "Sofort neu starten", verdana(-14, true)),
      btLogOff(ids::btLogOff, "btLogOff", {288, 64, 197, 49}, "Sofort abmelden,", verdana(-14, true)),
      btRestart(ids::btRestart, "btRestart", {8, 347, 297, 46}, "Go!", verdana(-15, true)),
      seShutMinutes(ids::seShutMinutes, "seShutMinutes", {8, 312, 105, 28}, 15, 1, 1999999, verdana(-15, true)),
      stRestartTime(ids::stRestartTime, "stRestartTime", {121, 315, 180, 17}, "PowerOff Zeit in Minuten", verdana(-12, true), clBtnFace),
      stWatch(ids::stWatch, "stWatch", {212, 289, 145, 17}, "Uhrzeit", verdana(-12, true), clBtnFace),
      btTimerOff1(ids::btTimerOff1, "btTimerOff1", {288, 120, 145, 49}, "Timer aus,", verdana(-14, true)),
      btPlusHour(ids::btPlusHour, "btPlusHour", {320, 312, 89, 25}, "+1 Stunde", verdana(-13, true)),
      btMinusHour(ids::btMinusHour, "btMinusHour", {320, 368, 89, 25}, "-1 Stunde", verdana(-13, true)),
      btPlusDay(ids::btPlusDay, "btPlusDay", {416, 312, 75, 25}, "+1 Tag", verdana(-13, true)),
      btMinusDay(ids::btMinusDay, "btMinusDay", {416, 368, 75, 25}, "-1 Tag", verdana(-13, true)),
      cbForcePwrOff(ids::cbForcePwrOff, "cbForcePwrOff", {288, 173, 275, 17}, "Hängende Prozesse zum Beenden zwingen (FORCE)", windowFont()),
      cbAutoMinimize(ids::cbAutoMinimize, "cbAutoMinimize", {288, 188, 275, 17}, "Automatisch minimieren nach Timer ausschalten 'Go!'", windowFont()),
      cbOffByTime(ids::cbOffByTime, "cbOffByTime", {496, 312, 65, 24}, "Zeit", verdana(-13, false)),
      btPrefTime1(ids::btPrefTime1, "btPrefTime1", {496, 340, 64, 25}, "00:00", verdana(-13, true)),
      btPrefTime2(ids::btPrefTime2, "btPrefTime2", {496, 368, 64, 25}, "00:00", verdana(-13, true)),
      btHibernate(ids::btHibernate, "btHibernate", {8, 176, 273, 49}, "In den Tiefschlaf/Suspend", verdana(-14, true)),
      cbHibernateForPwrOff(ids::cbHibernateForPwrOff, "cbHibernateForPwrOff", {288, 204, 275, 17}, "Tiefschlaf/Suspend statt Ausschalten nach CntDown", windowFont()),
      btOops(ids::btOops, "btOops", {8, 8, 553, 49}, "Oops! Das wollte ich noch nicht!", verdana(-14, true)),
      btLock(ids::btLock, "btLock", {484, 64, 77, 49}, "sperren", verdana(-14, true)),
      btTimerOff2(ids::btTimerOff2, "btTimerOff2", {432, 120, 129, 49}, "genau 00:00", verdana(-14, true)),
      Button1(ids::Button1, "Button1", {320, 340, 171, 25}, "Hilfe", verdana(-13, true)),
      tmCountDown("tmCountDown", 100, false),
      tmExitDelay("tmExitDelay", 20000, false),
      tmClock("tmClock", 1000, true),
      timers{&tmCountDown, &tmExitDelay, &tmClock} {
    controls_ = {&Gauge2, &Gauge1, &btFormPlus, &btFormMinus, &btFormHeight1Store, &btFormHeight2Store,
                 &btPwrOff, &stSeconds, &btNewStart, &btLogOff, &btRestart, &seShutMinutes,
                 &stRestartTime, &stWatch, &btTimerOff1, &btPlusHour, &btMinusHour, &btPlusDay,
                 &btMinusDay, &cbForcePwrOff, &cbAutoMinimize, &cbOffByTime, &btPrefTime1,
                 &btPrefTime2, &btHibernate, &cbHibernateForPwrOff, &btOops, &btLock, &btTimerOff2,
                 &Button1};
    for (Control* control : controls_) {
        control->attachFocusSlot(&focused_);
        control->setTabOrder(-1, false);
    }

    for (Button* flat : {&btFormPlus, &btFormMinus, &btFormHeight1Store, &btFormHeight2Store}) flat->setFlat(true);
    btFormPlus.setHint("Formular in der Höhe vergrössern");
    btFormMinus.setHint("Formular in der Höhe verkleinern");
    btFormMinus.setShowHint(false);
    btFormHeight1Store.setHint("Wert für kleines Formular ohne TimerInfo speichern");
    btFormHeight2Store.setHint("Wert für grosses Formular mit TimerInfo speichern");

    imageButton(btPwrOff, IDB_POWER, 5);
    imageButton(btNewStart, IDB_RESTART, 2);
    imageButton(btLogOff, IDB_LOGOFF, 3);
    imageButton(btTimerOff1, IDB_TIMER, 6);
    imageButton(btHibernate, 0, 8);
    imageButton(btLock, 0, 4);
    imageButton(btTimerOff2, 0, 7);

    btOops.setCancel(true);
    btOops.setImage(IDB_OOPS_STRIP);
    btOops.setImageLayout(ImageLayout::Right);
    btOops.setSpacing(12);
    btOops.setTabOrder(1, true);

    stSeconds.setHint(
        "Click schreibt den Zeitwert in den 2. Button für  vorgegebene Zeiten. "
        "Permanente Speicherung erst durch Click auf den 2. Button.");
    stSeconds.setTabOrder(0, true);

    btRestart.setTabOrder(12, true);
    seShutMinutes.setTabOrder(13, false);
    stRestartTime.setTabOrder(14, true);
    stWatch.setTabOrder(15, true);
    btPlusHour.setTabOrder(16, false);
    btMinusHour.setTabOrder(17, false);
    btPlusDay.setTabOrder(18, false);
    btMinusDay.setTabOrder(19, false);

    cbForcePwrOff.setChecked(true);
    cbForcePwrOff.setTabOrder(9, true);
    cbAutoMinimize.setChecked(true);
    cbAutoMinimize.setTabOrder(10, true);
    cbHibernateForPwrOff.setChecked(true);
    cbHibernateForPwrOff.setTabOrder(11, true);

    cbOffByTime.setHint(
        "Die Auswahl wird im 1. Button für  vorgegebene Zeiten gemerkt. "
        "Permanente Speicherung erst durch Click auf den Button.");
    cbOffByTime.setTabOrder(20, false);
    // Half hours, except 09:50 and 10:50 in place of 09:30 and 10:30.
    cbOffByTime.setItems({"00:00", "00:30", "01:00", "01:30", "02:00", "02:30", "03:00", "03:30", "04:00", "04:30",
                          "05:00", "05:30", "06:00", "06:30", "07:00", "07:30", "08:00", "08:30", "09:00", "09:50",
                          "10:00", "10:50", "11:00", "11:30", "12:00", "12:30", "13:00", "13:30", "14:00", "14:30",
                          "15:00", "15:30", "16:00", "16:30", "17:00", "17:30", "18:00", "18:30", "19:00", "19:30",
                          "20:00", "20:30", "21:00", "21:30", "22:00", "22:30", "23:00", "23:30"});
    btPrefTime1.setHint(
        "Die gewählte Zeit der ComboBox wird hier angezeigt. Ein Klick auf den Button speichert "
        "den angezeigten Wert  permanent und schaltet den Computer zur gegebenen Zeit aus.");
    btPrefTime1.setTabOrder(21, false);
    btPrefTime2.setHint(
        "Ein Klick ins blaue Feld übernimmt die Zeit für diesen Button. Ein Klick auf den Button "
        "speichert den angezeigten Wert  permanent und schaltet den Computer zur gegebenen Zeit aus.");
    btPrefTime2.setTabOrder(22, false);

    Button1.setEnabled(false);
    Button1.setTabOrder(23, false);
}

Control* TForm1::controlById(int id) const {
    for (Control* control : controls_)
        if (control->id() == id) return control;
    return nullptr;
}

void TForm1::setCaption(const std::string& text) {
    if (caption_ == text) return;
    caption_ = text;
    if (peer_) peer_->captionChanged();
}

void TForm1::setHeight(int pixels) {
    height_ = pixels;
    if (peer_) peer_->heightChanged();
}

void TForm1::showWindow(ShowCommand command) {
    lastShow_ = command;
    if (peer_) peer_->showWindow(command);
}

Control* TForm1::nextTabStop(bool backward) const {
    std::vector<Control*> stops;
    for (Control* control : controls_)
        if (control->tabStop() && control->visible() && control->enabled()) stops.push_back(control);
    if (stops.empty()) return nullptr;
    std::stable_sort(stops.begin(), stops.end(),
                     [](const Control* a, const Control* b) { return a->tabOrder() < b->tabOrder(); });
    auto at = std::find(stops.begin(), stops.end(), focused_);
    if (at == stops.end()) return backward ? stops.back() : stops.front();
    if (backward) return at == stops.begin() ? stops.back() : *(at - 1);
    return (at + 1 == stops.end()) ? stops.front() : *(at + 1);
}

bool TForm1::previewKeyDown(int key, unsigned shift) {
    if (onKeyDown) onKeyDown(key, shift);
    if (key == VK_ESCAPE_KEY) {
        // The cancel button answers Esc anywhere in the window while it is enabled.
        if (btOops.enabled() && btOops.visible()) {
            btOops.click();
            return true;
        }
        return false;
    }
    if (key == VK_RETURN_KEY) {
        // Enter presses the focused button only; in any other control it
        // activates no button, so no power action starts by accident.
        auto* button = dynamic_cast<Button*>(focused_);
        if (button && button->enabled() && button->visible()) {
            button->click();
            return true;
        }
        return false;
    }
    return false;
}

char TForm1::previewKeyPress(char key) {
    if (onKeyPress) onKeyPress(key);
    return key;
}

void TForm1::previewKeyUp(int key, unsigned shift) {
    if (onKeyUp) onKeyUp(key, shift);
}

}  // namespace tovik::ui
