#pragma once

#include <QObject>
#include <QString>
#include <array>

#include "core/Console.h"

class QLineEdit;

namespace lumetra::ui {

class ColorPage;
class FaderPage;
class NameCopyGroup;
class PageHost;

// The name of a channel as a label shows it (blanks inside kept, trailing
// blanks left off).
QString channelNameText(const ShowMemory& show, int channel);

// The channel names and their colours: the 27 name fields of the fader
// page, the tab "Цвет канала", the names block copy on "Копирование" and
// the clearing commands of the menu "Установки".
class NamePage : public QObject {
    Q_OBJECT

  public:
    NamePage(PageHost& form, FaderPage& faders);

    // Fields from the show. A field that is being typed into keeps what was
    // typed, so a refresh while the show plays loses nothing.
    void ReturnName();
    // The 27 fields into the show.
    void SaveEditAll();
    // Leaving a name field: SaveEditAll, then every blank of the name area
    // is stored as 0.
    void Edit2Exit();
    void UpdateColorEditAll();
    void UstColorEditOne(int channel);

    void ClearNameChannelItemClick();
    void itemColorClick();
    void itemGrafHintClick();
    void itemColSplitClick();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    int bank() const;
    int rowOf(QObject* field) const;
    void buildMenu();
    void Edit1Click();
    void storeFields(int bank);
    void exitAt(int bank);

    PageHost& form_;
    std::array<QLineEdit*, kFaderRows> fields_{};
    ColorPage* colorPage_ = nullptr;
    NameCopyGroup* copyGroup_ = nullptr;
    int editing_ = 0;   // row of the field with the focus, 0 for none
    int editBank_ = 0;  // the bank it was entered under
    bool closed_ = false;
};

}  // namespace lumetra::ui
