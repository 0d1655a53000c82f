#include "edit/NamePage.h"

#include <QAction>
#include <QCheckBox>
#include <QEvent>
#include <QFocusEvent>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>

#include "host/PageHost.h"
#include "edit/ChannelNames.h"
#include "edit/ColorPage.h"
#include "edit/FaderPage.h"
#include "edit/NameCopyGroup.h"
#include "show/Cp1251Text.h"

namespace lumetra::ui {

namespace {
QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<int>(s.size()));
}

QString fieldText(const NameBytes& name) {
    int count = static_cast<int>(name.size());
    while (count > 0 && name[count - 1] == 0) --count;
    return fromCp1251(name.data(), count);
}
}  // namespace

QString channelNameText(const ShowMemory& show, int channel) {
    const std::string bytes = lumetra::nameDisplayBytes(show, channel);
    return fromCp1251(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                      static_cast<int>(bytes.size()));
}

NamePage::NamePage(PageHost& form, FaderPage& faders) : QObject(form.widget()), form_(form) {
    setObjectName("NamePage");
    for (int k = 1; k <= kFaderRows; ++k) {
        QLineEdit* field = faders.nameField(k);
        field->setToolTip(qs(nameText::kFieldHint));
        field->installEventFilter(this);
        fields_[k - 1] = field;
    }
    colorPage_ = new ColorPage(form, [this](int channel) { UstColorEditOne(channel); });
    copyGroup_ = new NameCopyGroup(form, [this] { ReturnName(); });
    buildMenu();
    form.widget()->installEventFilter(this);

    form.on(PageHost::Hook::ReturnName, [this] { ReturnName(); });
    form.on(PageHost::Hook::UpdateColorEditAll, [this] { UpdateColorEditAll(); });
    form.onPageRefresh(PageHost::PageFaders, [this] {
        ReturnName();
        UpdateColorEditAll();
    });
}

void NamePage::buildMenu() {
    QMenu* menu = form_.setupMenu();
    auto add = [this, menu](const char* name, const char* caption, const QKeySequence& key,
                            void (NamePage::*handler)()) {
        QAction* action = menu->addAction(QString::fromUtf8(caption));
        action->setObjectName(name);
        if (!key.isEmpty()) action->setShortcut(key);
        connect(action, &QAction::triggered, this, handler);
    };
    add("ClearNameChannelItem", "Очистить имена каналов", QKeySequence("Ctrl+I"),
        &NamePage::ClearNameChannelItemClick);
    add("itemColor", "Очистить цвета имен каналов", {}, &NamePage::itemColorClick);
    add("itemGrafHint", "Очистить графическую подсказку каналов", {}, &NamePage::itemGrafHintClick);
    add("itemColSplit", "Очистить цвет условного разделения каналов", {},
        &NamePage::itemColSplitClick);
}

int NamePage::bank() const {
    return lumetra::bankOffset(form_.console());
}

int NamePage::rowOf(QObject* field) const {
    for (int k = 1; k <= kFaderRows; ++k)
        if (fields_[k - 1] == field) return k;
    return 0;
}

// ---- Name fields ----------------------------------------------------------

void NamePage::ReturnName() {
    const int b = bank();
    // The bank moved under a field being typed into: what was typed belongs
    // to the channel it was typed for, as if the field had been left.
    if (editing_ && fields_[editing_ - 1]->isModified() && b != editBank_) {
        exitAt(editBank_);
        fields_[editing_ - 1]->setModified(false);
    }
    for (int k = 1; k <= kFaderRows; ++k) {
        QLineEdit* field = fields_[k - 1];
        if (k == editing_ && field->isModified()) continue;
        // The same text is not set again: every step of a playing show
        // refreshes the names.
        const QString text = fieldText(lumetra::LoadEdit(form_.console().show, b + k));
        if (field->text() != text || field->isModified()) field->setText(text);
    }
    editBank_ = b;
}

void NamePage::storeFields(int b) {
    ShowMemory& show = form_.console().show;
    for (int k = 1; k <= kFaderRows; ++k) {
        const QByteArray bytes = toCp1251(fields_[k - 1]->text().left(layout::kNameSize));
        lumetra::SaveEdit(show, b + k,
                          lumetra::padName(std::string_view(bytes.constData(), bytes.size())));
    }
}

void NamePage::SaveEditAll() {
    storeFields(bank());
}

void NamePage::exitAt(int b) {
    storeFields(b);
    lumetra::BlanksToZero(form_.console().show);
}

void NamePage::Edit2Exit() {
    exitAt(bank());
}

void NamePage::Edit1Click() {
    // Typing a name must not fire the hot keys or the conveyor letters.
    form_.keysOffForTyping();
}

bool NamePage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == form_.widget() && event->type() == QEvent::Close) {
        // A name being typed is stored before the show may be saved; after
        // the close the fields go with the window and store nothing.
        if (editing_ && !closed_) Edit2Exit();
        closed_ = true;
    }
    const int k = rowOf(watched);
    if (k == 0 || closed_) return QObject::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::MouseButtonPress:
            Edit1Click();
            break;
        case QEvent::MouseButtonDblClick:
            colorPage_->UpdateScrollRGBtxt(bank() + k);
            break;
        case QEvent::FocusIn:
            editing_ = k;
            editBank_ = bank();
            break;
        case QEvent::FocusOut:
            if (static_cast<QFocusEvent*>(event)->reason() == Qt::PopupFocusReason) break;
            editing_ = 0;
            Edit2Exit();
            break;
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

// ---- Colours of the fields -------------------------------------------------

void NamePage::UstColorEditOne(int channel) {
    const int k = channel - bank();
    if (k < 1 || k > kFaderRows) return;
    const io::ChannelColors& c = form_.channelColors();
    QLineEdit* field = fields_[k - 1];
    const QColor color(c.NameRed[channel], c.NameGreen[channel], c.NameBlue[channel]);
    if (field->palette().color(QPalette::Base) == color) return;
    QPalette p = field->palette();
    p.setColor(QPalette::Base, color);
    field->setPalette(p);
}

void NamePage::UpdateColorEditAll() {
    for (int k = 1; k <= kFaderRows; ++k) UstColorEditOne(bank() + k);
}

// ---- Menu "Установки" -------------------------------------------------------

void NamePage::ClearNameChannelItemClick() {
    if (form_.dialogs().confirm(form_.widget(), qs(nameText::kAskClearNames)))
        lumetra::ClearNameChannel(form_.console().show);
    ReturnName();
}

void NamePage::itemColorClick() {
    if (!form_.dialogs().confirm(form_.widget(), qs(nameText::kAskClearColors))) return;
    lumetra::ClearNameColors(form_.channelColors());
    form_.ReturnPageControlAll();
}

void NamePage::itemGrafHintClick() {
    if (!form_.dialogs().confirm(form_.widget(), qs(nameText::kAskClearGobo))) return;
    lumetra::ClearGoboTypes(form_.channelColors());
    form_.ReturnPageControlAll();
}

void NamePage::itemColSplitClick() {
    if (!form_.dialogs().confirm(form_.widget(), qs(nameText::kAskClearSplit))) return;
    int red = 0, green = 0, blue = 0;
    form_.windowColor(red, green, blue);
    lumetra::ClearSplitColors(form_.channelColors(), static_cast<std::uint8_t>(red),
                              static_cast<std::uint8_t>(green), static_cast<std::uint8_t>(blue));
    form_.ReturnPageControlAll();
}

}  // namespace lumetra::ui
