#pragma once

#include "items/ItemReports.h"
#include "items/TSpButton.h"
#include "store/Components.h"

#include <QDialog>
#include <QPointer>
#include <QUrl>
#include <functional>
#include <optional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPainter;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTimer;
class TCGauge;
class TCSpinEdit;
class TPropiedadesIconGrid;

// Edits one shelf item through a live working copy, `BotonEjemplo`, shown in
// the " Ejemplo " box. Every control writes into the copy at once; "Aceptar"
// copies it back onto the item, "Cancelar" and the close box drop it. A new
// dialog is made for every edit and released when it closes.
class TPropiedades : public QDialog {
    Q_OBJECT

public:
    // Prepares the dialog for `item` (the copy, the format, the kind's area)
    // without showing it. The dialog is `Propiedades()` until it finishes.
    explicit TPropiedades(TSpButton* item, QWidget* parent = nullptr);
    ~TPropiedades() override;

    // What the "P&ropiedades" command does: makes the dialog, runs it
    // modally, writes the copy back on "Aceptar" and lets the dialog go.
    static int execute(TSpButton* item);
    // The same without waiting: the dialog is shown and does its work when
    // it finishes. For tests and for callers that cannot block.
    static TPropiedades* open(TSpButton* item);
    // The dialog while it exists, else null.
    static TPropiedades* Propiedades();

    // README.md with the anchor of its section on this dialog; "&Help" opens
    // it. "E&xaminar..." and "Fuente" ask the platform's choosers.
    static QUrl helpPage();

    TSpButton* item() const { return m_item; }
    TSpButton* BotonEjemplo() const { return m_botonEjemplo; }
    bool FuenteDefecto() const { return m_fuenteDefecto; }

    // General tab.
    QTabWidget* PageControl1() const { return m_pageControl1; }
    QWidget* TabGeneral() const { return m_tabGeneral; }
    QWidget* TabAccDir() const { return m_tabAccDir; }
    QWidget* Panel1() const { return m_panel1; }
    QLineEdit* EdNombre() const { return m_edNombre; }
    QPushButton* BFuente() const { return m_bFuente; }
    QPushButton* BDefecto() const { return m_bDefecto; }
    QGroupBox* Seleccionado() const { return m_seleccionado; }
    QGroupBox* Formato() const { return m_formato; }
    QRadioButton* FormatoItem(int index) const;
    int FormatoIndex() const;
    QWidget* PanelNormal() const { return m_panelNormal; }
    QLineEdit* EdHint() const { return m_edHint; }
    QPushButton* Button1() const { return m_button1; }
    QPushButton* Button2() const { return m_button2; }
    QPushButton* Button3() const { return m_button3; }

    // Shortcut tab.
    QGroupBox* GroupBox2() const { return m_groupBox2; }
    QLineEdit* EdComando() const { return m_edComando; }
    QLineEdit* EdParam() const { return m_edParam; }
    QLineEdit* EdDirectorio() const { return m_edDirectorio; }
    QComboBox* ComboEjecutar() const { return m_comboEjecutar; }
    QCheckBox* CheckAutoRun() const { return m_checkAutoRun; }
    QPushButton* Button6() const { return m_button6; }
    QPushButton* Button7() const { return m_button7; }
    QPushButton* Button8() const { return m_button8; }

    // Icon picker and folder options.
    QGroupBox* GroupIcono() const { return m_groupIcono; }
    QLineEdit* EdFichIcono() const { return m_edFichIcono; }
    QCheckBox* CheckUsarIcono() const { return m_checkUsarIcono; }
    TPropiedadesIconGrid* DrawGrid1() const { return m_drawGrid1; }
    QPushButton* BIconoAsociado() const { return m_bIconoAsociado; }
    QPushButton* Button5() const { return m_button5; }
    QGroupBox* GroupCarpeta() const { return m_groupCarpeta; }
    QCheckBox* CheckUsarIcono2() const { return m_checkUsarIcono2; }
    QCheckBox* CheckAutoRun2() const { return m_checkAutoRun2; }

    // Clock, drive and memory options. The figure labels and gauges are
    // found by their names ("LCapacidad2", "Gauge1" ...).
    QGroupBox* GroupOpciones() const { return m_groupOpciones; }
    QLineEdit* EdFormatoHora() const { return m_edFormatoHora; }
    QLineEdit* EdFormatoFecha() const { return m_edFormatoFecha; }
    QLineEdit* EdSeparador() const { return m_edSeparador; }
    QCheckBox* CheckHora() const { return m_checkHora; }
    QCheckBox* CheckFecha() const { return m_checkFecha; }
    QCheckBox* CheckRelojA() const { return m_checkRelojA; }
    QCheckBox* CheckSeg() const { return m_checkSeg; }
    QGroupBox* GroupDisco() const { return m_groupDisco; }
    QComboBox* ComboDrives() const { return m_comboDrives; }
    TCSpinEdit* SpinTimeOut() const { return m_spinTimeOut; }
    QGroupBox* GroupMemoria() const { return m_groupMemoria; }
    TCSpinEdit* SpinTimeOutM() const { return m_spinTimeOutM; }

    // What the drive and memory refreshes of the working copy write here.
    void showDriveReport(const tolm::items::DriveReport& report);
    void showMemoryReport(const tolm::items::MemoryReport& report);

    // The name of a drive type code as the dialog shows it; empty for an unknown code.
    static QString driveTypeName(int type);

    // Handlers.
    void FormShow();
    void BFuenteClick();
    void BDefectoClick();
    void FormatoClick(int index);
    void PageControl1Change(int index);
    void Button7Click();
    void Button8Click();
    void BIconoAsociadoClick();
    void Button5Click();
    // Typing in "Nombre del Archivo" takes the file name at once; the icons
    // are counted again once the typing pauses for this long.
    static constexpr int kIconRecountDelayMs = 250;
    void EdFichIconoTyped();
    void EdFichIconoChange();
    bool iconRecountPending() const;
    bool DrawGrid1SelectCell(int column);
    void DrawGrid1DrawCell(QPainter& painter, int column, const QRect& cell, bool selected);
    void ComboDrivesChange(const QString& text);
    void SpinTimeOutChange(TCSpinEdit* spin);
    void Button3Click();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildGeneral();
    void buildShortcutTab();
    void buildIconPicker();
    void buildFolderOptions();
    void buildClockOptions();
    void buildDriveOptions();
    void buildMemoryOptions();
    void prepareKind();
    void fillDrives();
    void centreExample();
    void setTabOrderByLayout();
    // Puts the keyboard focus, shown, in the first box the user can type into.
    void focusFirstEdit();
    void setIconFileText(const QString& text);
    // Runs the file dialog (or the tests' stand-in) and puts the process's
    // current directory back where it was, since shelf files are named
    // relative to it. Empty when the user cancelled.
    QString chooseFile(const QString& title, const QString& filters);
    // The edit rule: the box's text goes into the copy only when the user typed it.
    void bindEdit(QLineEdit* edit, const std::function<void(const QString&)>& store);
    void bindClockBit(QCheckBox* box, int bit);
    // Writes the copy back onto the item when the dialog was accepted; runs once.
    void finish(int result);

    QPointer<TSpButton> m_item;
    // The window the item stands on: its timer items' covered flags are
    // renewed when the copy is written back.
    QPointer<QWidget> m_window;
    TSpButton* m_botonEjemplo { nullptr };
    bool m_fuenteDefecto { false };
    bool m_filling { false };
    bool m_finished { false };

    QTabWidget* m_pageControl1 { nullptr };
    QWidget* m_tabGeneral { nullptr };
    QWidget* m_tabAccDir { nullptr };
    QWidget* m_panel1 { nullptr };
    QLineEdit* m_edNombre { nullptr };
    QPushButton* m_bFuente { nullptr };
    QPushButton* m_bDefecto { nullptr };
    QGroupBox* m_seleccionado { nullptr };
    QGroupBox* m_formato { nullptr };
    QButtonGroup* m_formatoButtons { nullptr };
    QWidget* m_panelNormal { nullptr };
    QLineEdit* m_edHint { nullptr };
    QPushButton* m_button1 { nullptr };
    QPushButton* m_button2 { nullptr };
    QPushButton* m_button3 { nullptr };

    QGroupBox* m_groupBox2 { nullptr };
    QLineEdit* m_edComando { nullptr };
    QLineEdit* m_edParam { nullptr };
    QLineEdit* m_edDirectorio { nullptr };
    QComboBox* m_comboEjecutar { nullptr };
    QCheckBox* m_checkAutoRun { nullptr };
    QPushButton* m_button6 { nullptr };
    QPushButton* m_button7 { nullptr };
    QPushButton* m_button8 { nullptr };

    QGroupBox* m_groupIcono { nullptr };
    QLineEdit* m_edFichIcono { nullptr };
    QTimer* m_iconRecount { nullptr };
    QCheckBox* m_checkUsarIcono { nullptr };
    TPropiedadesIconGrid* m_drawGrid1 { nullptr };
    QPushButton* m_bIconoAsociado { nullptr };
    QPushButton* m_button5 { nullptr };
    QGroupBox* m_groupCarpeta { nullptr };
    QCheckBox* m_checkUsarIcono2 { nullptr };
    QCheckBox* m_checkAutoRun2 { nullptr };

    QGroupBox* m_groupOpciones { nullptr };
    QLineEdit* m_edFormatoHora { nullptr };
    QLineEdit* m_edFormatoFecha { nullptr };
    QLineEdit* m_edSeparador { nullptr };
    QCheckBox* m_checkHora { nullptr };
    QCheckBox* m_checkFecha { nullptr };
    QCheckBox* m_checkRelojA { nullptr };
    QCheckBox* m_checkSeg { nullptr };

    QGroupBox* m_groupDisco { nullptr };
    QLabel* m_lUtilizado { nullptr };
    QLabel* m_lUtilizado2 { nullptr };
    QLabel* m_lDisponible { nullptr };
    QLabel* m_lDisponible2 { nullptr };
    QLabel* m_lCapacidad { nullptr };
    QLabel* m_lCapacidad2 { nullptr };
    TCGauge* m_gauge1 { nullptr };
    QLabel* m_lTipo { nullptr };
    QComboBox* m_comboDrives { nullptr };
    TCSpinEdit* m_spinTimeOut { nullptr };

    QGroupBox* m_groupMemoria { nullptr };
    TCSpinEdit* m_spinTimeOutM { nullptr };
    QLabel* m_lPUtilizado { nullptr };
    QLabel* m_lPUtilizado2 { nullptr };
    QLabel* m_lPCapacidad { nullptr };
    QLabel* m_lPCapacidad2 { nullptr };
    TCGauge* m_gauge3 { nullptr };
    QLabel* m_lMUtilizado { nullptr };
    QLabel* m_lMUtilizado2 { nullptr };
    QLabel* m_lMCapacidad { nullptr };
    QLabel* m_lMCapacidad2 { nullptr };
    TCGauge* m_gauge2 { nullptr };
};
