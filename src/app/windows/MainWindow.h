#pragma once

#include <QMainWindow>
#include <QRect>
#include <utility>
#include <vector>

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

// The "Glyfora" window: the File, Edit and Window menus, the "Characters", "Kerning Pairs" and
// "Comment" frames with their controls, and a status bar. The frames sit in a scroll area, so a
// screen smaller than the default size still reaches every control; a larger window gives the
// lists more room. The shell reaches every command and control
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
    // "Window": shows and raises each of the other five windows.
    QAction* WindowImport = nullptr;
    QAction* WindowExample = nullptr;
    QAction* WindowCharacterSet = nullptr;
    QAction* WindowCharacter = nullptr;
    QAction* WindowKerningPair = nullptr;

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

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildMenus();
    void BuildWindowMenu();
    // Room beyond the default size goes to the two lists: they grow, the controls below them and
    // the comment frame move down, and the comment frame widens with the window.
    void ShareExtraRoom(QSize extra);
    void BuildCharactersFrame(QWidget* content);
    void BuildKerningPairsFrame(QWidget* content);
    void BuildCommentFrame(QWidget* content);

    QWidget* content_ = nullptr;
    // Every frame and control at its place in the default size.
    std::vector<std::pair<QWidget*, QRect>> homes_;
};

} // namespace glyfora::app
