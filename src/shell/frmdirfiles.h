// The file chooser: the user picks a payment file by drive, folder and name, and
// the choice is remembered in the memo that the ANCI-CNC 2000 and F24 prompts
// propose. It imports nothing.
#pragma once

#include <QDialog>
#include <QString>

#include "shell/dialoghi.h"

class QComboBox;
class QFileSystemModel;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTimer;
class QTreeView;

namespace pliventa {

class frmDirFiles : public QDialog {
    Q_OBJECT

public:
    /// The chooser on the program's current directory; `dialoghi` must outlive it.
    explicit frmDirFiles(Dialoghi& dialoghi, QWidget* parent = nullptr);
    ~frmDirFiles() override;

    /// Shows `cartella` in the folder view and its files in the file list. A folder
    /// that cannot be listed is reported and the folder shown stays. This is what
    /// opening a folder in the view and choosing a drive do.
    bool apriCartella(const QString& cartella);

    // Handlers, one per control (connected in the constructor).
    void Dir1_Change();
    void File1_Click();
    void Combo1_Click();
    void Drive1_Change();
    void cmdOK_Click();
    void cmdEsci_Click();

private:
    void Form_Load();
    void costruisci();
    void collega();
    void riempiUnita();
    void selezionaUnita(const QString& cartella);
    void mostraCartella();

    Dialoghi& dialoghi_;
    QString cartella_;
    QString modello_;  ///< the pattern as cut from Combo1's item, blanks included

    QFileSystemModel* cartelle_ = nullptr;
    QTimer* scorrimento_ = nullptr;  ///< brings the folder shown into view
    bool ordinePendente_ = false;    ///< a folder above it was read, its sort not yet seen
    QGroupBox* Frame1 = nullptr;
    QLabel* Label2_3 = nullptr;
    QLineEdit* Text1_1 = nullptr;
    QListWidget* File1 = nullptr;
    QLabel* Label2_2 = nullptr;
    QLabel* Label2_4 = nullptr;
    QTreeView* Dir1 = nullptr;
    QLabel* Label2_0 = nullptr;
    QComboBox* Combo1 = nullptr;
    QLabel* Label2_1 = nullptr;
    QComboBox* Drive1 = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdEsci = nullptr;
};

}  // namespace pliventa
