#pragma once

#include <QMainWindow>

class QAction;
class QGroupBox;
class QLineEdit;
class QMenu;
class QPushButton;
class QSpinBox;
class QTextEdit;
class QTreeWidget;

namespace glyfora::app {

// Height of the main window's content between its menu bar and its status bar.
constexpr int MainContentHeight = 515;

// A character code shown twice: as a number and as the character itself.
struct CodeFields {
    QSpinBox* Code = nullptr;
    QSpinBox* Glyph = nullptr; // a GlyphSpinBox: shows the character
};

// The "Glyfora" window: the File and Edit menus, the "Characters", "Kerning Pairs" and "Comment"
// frames with their controls, and an empty status bar. The shell reaches every command and control
// through these members; the object names are for tests and accessibility tools.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow();

    // The inner height the window takes once its menu and status bars are known.
    [[nodiscard]] int FinalInnerHeight() const;

    QAction* FileNew = nullptr;
    QAction* FileOpen = nullptr;
    QMenu* FileOpenRecent = nullptr; // "Open Recent", filled by the shell
    QAction* FileSave = nullptr;
    QAction* FileSaveAs = nullptr;
    QAction* FileImportTtf = nullptr;
    QAction* FileQuit = nullptr;
    QAction* EditUndo = nullptr;
    QAction* EditRedo = nullptr;
    QAction* EditCopyUpperToLower = nullptr;
    QAction* EditCopyUmlauts = nullptr;
    QAction* EditScaleLayout = nullptr;
    QAction* EditSpacingLayout = nullptr;
    QAction* EditPackCompactly = nullptr;

    // Delete pressed in a list deletes its selected record, as its "Delete" button does.
    QAction* CharacterListDelete = nullptr;
    QAction* KerningPairListDelete = nullptr;

    QTreeWidget* CharacterList = nullptr;
    QPushButton* CharacterDeleteButton = nullptr;
    QPushButton* CharacterNewButton = nullptr;
    CodeFields CharacterCode;
    QSpinBox* SourceX = nullptr;
    QSpinBox* SourceY = nullptr;
    QSpinBox* SourceWidth = nullptr;
    QSpinBox* SourceHeight = nullptr;
    QSpinBox* OutlayX = nullptr;
    QSpinBox* OutlayY = nullptr;
    QSpinBox* OutlayWidth = nullptr;
    QSpinBox* OutlayHeight = nullptr;

    QTreeWidget* KerningPairList = nullptr;
    QPushButton* KerningPairDeleteButton = nullptr;
    QPushButton* KerningPairNewButton = nullptr;
    CodeFields LeftCode;
    CodeFields RightCode;
    QSpinBox* AmountField = nullptr;

    QTextEdit* CommentField = nullptr;

private:
    void BuildMenus();
    void BuildCharactersFrame(QWidget* content);
    void BuildKerningPairsFrame(QWidget* content);
    void BuildCommentFrame(QWidget* content);
};

} // namespace glyfora::app
