#pragma once
// The bus window: the start-up window, its built-in pictures with the moving
// parts laid over them, and the public operations the other windows call.
// The handlers are defined beside the subsystem they belong to
// (sign/, doors/, signboard/, about/, app/).
#include "platform/files/file_list.h"
#include "platform/widgets/twip_widgets.h"
#include "sign/sign_rules.h"

#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>

class QAction;
class QMenu;
class frmSet;
class frmBrowseDir;

namespace platform
{
class FileOpenDialog;
}

// The bus's folder in a user's configuration folder, where its settings go
// when the program's own folder may not be written.
inline constexpr QLatin1String settingsFolderName("kururina");

class Form1 : public QWidget
{
    Q_OBJECT
public:
    explicit Form1(QWidget* parent = nullptr);
    ~Form1() override;

    // Public operations, called by the other windows.
    void Check1_Click();
    void Check2_Click();
    void MnuEditHkPic_Click();
    void MnuHelpVer_Click();
    void HScroll1_Change();
    void HScroll2_Change();
    // Applies the sign folder path to File1. Returns false when the folder was
    // not found (the folder dialog was offered again).
    bool picDir();
    // True when written. A failure is told in a message box, or at a session
    // end on standard error, where nobody is left to click one.
    bool SaveIni(bool atSessionEnd = false);
    void LoadIni();
    // The settings line a save writes now.
    QByteArray settingsLine();
    // The file a save writes: beside the executable, named after it, where the
    // user may write there, else in the user's configuration folder
    // (platform::settingsFiles). Tests may point it elsewhere.
    QString settingsPath() const;
    void setSettingsPath(const QString& path) { settingsPath_ = path; }
    // A save nobody would see a message box for: one line on standard error.
    static void reportSaveFailure(const QString& path, const QString& error);

    // Start-up: settings read, panel shown and kept on top, title set. The
    // caller shows the window afterwards.
    void Form_Load();
    // Shut-down: settings written. The program ends after it.
    void Form_Unload();
    // From the start of the event loop: a session that ends (a signal, the
    // session manager, the display going away) saves as the close box does.
    void watchSessionEnd();
    // The close box's path, with a failed save on standard error and in the exit status.
    void endSession();

    // The settings panel, created (hidden) on first reference.
    frmSet& panel();
    bool hasPanel() const { return panel_ != nullptr; }

    // Screen twips of the window's outer frame.
    float twLeft() const;
    float twTop() const;
    void setTwPosition(float left, float top);

    // Shows list entry index on the sign. False (and nothing changed) when
    // there is no such entry or it does not load.
    bool showSign(std::int32_t index);

    // Controls, in layout order.
    platform::TwipPictureBox* picSlideBase1;
    platform::TwipImage* Image2;
    platform::TwipPictureBox* PicKanban;
    platform::FileList File1;
    platform::TwipPictureBox* Picture1;
    platform::TwipImage* ImgDesiMaku;
    std::unique_ptr<platform::FileOpenDialog> C_Dialog1;
    // Elements 1 and 2 (element 0 does not exist).
    std::array<platform::TwipImage*, 3> Image1{};
    std::array<std::unique_ptr<platform::TwipShape>, 3> shpK_Waku;
    QMenu* MnuTempMenu1;
    QAction* MnuViewKanban;
    QAction* MnuViewWaku;
    QAction* MnuSetKanban;
    QAction* MnuBdr1;
    QAction* MnuKanbanReset;

    // Program-wide values.
    QString signFolderPath;
    QString kanbanPicturePath;
    QString reservedText;
    std::int32_t reserved1 = 0;
    std::int32_t reserved2 = 0;
    std::int16_t modeIndex = 0;
    sign::Stepper signStepper;

    // Handlers.
    void Form_MouseDown(Qt::MouseButton button);
    void Image1_Click(int index);
    void ImgDesiMaku_Click();
    void Picture1_Click();
    void Picture1_KeyDown(std::int16_t keyCode, std::int16_t shift);
    void PicKanban_MouseDown(Qt::MouseButton button, QPoint pos);
    void PicKanban_DblClick();
    void PicKanban_Resize();
    void MnuViewKanban_Click();
    void MnuViewWaku_Click();
    void MnuSetKanban_Click();
    void MnuKanbanReset_Click();

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void wireSignboard();
    bool applyIni();
    void applyIniDefaults();
    // Puts the panel below the bus once the window manager has framed it.
    void placePanelBelowBus();
    QString settingsPath_;
    bool panelBelowBus_ = false;
    QImage body_;
    std::vector<platform::TwipShape*> shapes_;
    frmSet* panel_ = nullptr;
    frmBrowseDir* browseDir_ = nullptr; // set while the folder dialog is open
    bool unloaded_ = false;
    bool sessionEnding_ = false;
    bool saved_ = true;

    friend class frmBrowseDir;
};
