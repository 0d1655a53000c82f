#pragma once

#include <array>

#include <QWidget>

#include "show/BlockCopy.h"

class QGridLayout;
class QGroupBox;
class QSpinBox;

namespace lumetra::ui {

class SceneCommands;
class PageHost;

// The "Копирование" page: block copies of channels within scenes and of
// whole scenes, with the page's memory/undo pair. The names block copy of
// the channel names room goes into the empty group `GroupBoxNameBloc`.
class CopyPage : public QWidget {
    Q_OBJECT

  public:
    CopyPage(PageHost& form, SceneCommands& commands, QWidget* page);

    QGroupBox* nameGroup() const { return GroupBoxNameBloc; }

    void ButtonLevelBlocCopyClick();
    void SpeedButtonLevelJobScensClick();
    void SpeedButtonScenAllCopyClick();
    void SpeedButtonScenaBlocCopyClick();

  private:
    QSpinBox* addField(QGridLayout* grid, int row, int column, const char* name,
                       const QString& caption, int maximum, int value);
    // The three fields of a block: first ("От"), last ("До", включительно)
    // and start ("Начиная с"), of channels or of scenes, in one grid column.
    void addTriple(QGridLayout* grid, int column, const std::array<const char*, 3>& names,
                   bool scenes, int firstMaximum, QSpinBox** spins);
    QGroupBox* channelGroup(const char* name, const QString& caption, const char* first,
                            const char* last, const char* start, const char* button,
                            QSpinBox** spins);
    // Status, undo buttons, warning and refresh after a block copy.
    void finish(BlockCopyResult result);

    PageHost& form_;
    SceneCommands& commands_;

    QSpinBox* SpinEditLevelFirst = nullptr;
    QSpinBox* SpinEditLevelLast = nullptr;
    QSpinBox* SpinEditLevelFrom = nullptr;
    QSpinBox* SpinEditChBeg = nullptr;
    QSpinBox* SpinEditChFin = nullptr;
    QSpinBox* SpinEditChTo = nullptr;
    QSpinBox* SpinEditAllScChbeg = nullptr;
    QSpinBox* SpinEditAllScChFin = nullptr;
    QSpinBox* SpinEditAllScChTo = nullptr;
    QSpinBox* SpinEditAllScChbegSc = nullptr;
    QSpinBox* SpinEditAllScChFinSc = nullptr;
    QSpinBox* SpinEditAllScChToSc = nullptr;
    QSpinBox* SpinEditScenaFirst = nullptr;
    QSpinBox* SpinEditScenaLast = nullptr;
    QSpinBox* SpinEditScenaFrom = nullptr;
    QGroupBox* GroupBoxScenaBloc = nullptr;
    QGroupBox* GroupBoxNameBloc = nullptr;
};

}  // namespace lumetra::ui
