#include "app/windows/MainWindow.h"

#include "app/windows/EditingFrames.h"
#include "app/windows/FittingTextDelegate.h"
#include "app/windows/GlyphSpinBox.h"

#include <QAction>
#include <QEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionSpinBox>
#include <QTextEdit>
#include <QTreeWidget>
#include <initializer_list>
#include <utility>
#include <vector>

namespace glyfora::app {
namespace {

struct Column {
    QString Title;
    int Width = 0;
};

// Single-selection report list with full-row selection whose selection stays visible without
// focus.
QTreeWidget* MakeReportList(QWidget* frame, const QString& name, QRect geometry,
                            std::initializer_list<Column> columns) {
    auto* list = new QTreeWidget(frame);
    list->setObjectName(name);
    list->setGeometry(geometry);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    QStringList titles;
    for (const Column& column : columns) {
        titles << column.Title;
    }
    list->setHeaderLabels(titles);
    list->header()->setStretchLastSection(false);
    int index = 0;
    for (const Column& column : columns) {
        list->setColumnWidth(index++, column.Width);
    }
    QFont font(QStringLiteral("Arial Unicode MS"), 9);
    font.setFamilies({QStringLiteral("Arial Unicode MS"), QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    list->setFont(font);
    QPalette palette = list->palette();
    for (const auto role : {QPalette::Highlight, QPalette::HighlightedText}) {
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    }
    list->setPalette(palette);
    list->setItemDelegate(new FittingTextDelegate(list));
    return list;
}

// An action on a list that its key triggers only while the list has the focus.
QAction* MakeListKey(QTreeWidget* list, const QString& name, QKeySequence key) {
    auto* action = new QAction(list);
    action->setObjectName(name);
    action->setShortcut(key);
    action->setShortcutContext(Qt::WidgetShortcut);
    list->addAction(action);
    return action;
}

QPushButton* MakeButton(QWidget* frame, const QString& name, const QString& caption,
                        QRect geometry) {
    auto* button = new QPushButton(caption, frame);
    button->setObjectName(name);
    button->setGeometry(geometry);
    return button;
}

QSpinBox* MakeSpinField(QWidget* frame, const QString& name, QRect geometry, int low, int high) {
    auto* field = new QSpinBox(frame);
    field->setObjectName(name);
    field->setGeometry(geometry);
    field->setRange(low, high);
    return field;
}

// A field whose widest value must read whole in its fixed width gets a font that fits it.
void FitFieldToText(QSpinBox* field, const QString& widest) {
    QStyleOptionSpinBox option;
    option.initFrom(field);
    option.rect = QRect(QPoint(0, 0), field->size());
    const QRect edit = field->style()->subControlRect(QStyle::CC_SpinBox, &option,
                                                      QStyle::SC_SpinBoxEditField, field);
    constexpr int EditMargins = 10; // the line edit's margins and cursor around its text
    field->setFont(FontToFit(field->font(), {{widest, edit.width() - EditMargins}}));
}

QLabel* MakeLabel(QWidget* frame, const QString& caption, QRect geometry) {
    auto* label = new QLabel(caption, frame);
    label->setGeometry(geometry);
    label->setFont(FontToFit(label->font(), {{caption, geometry.width()}}));
    return label;
}

void MakeRowLabel(QWidget* frame, const QString& caption, int x, int y) {
    MakeLabel(frame, caption, QRect(x + 5, y + 3, 50, 16));
}

// A labelled row holding two numbers, e.g. "Position:" X and Y.
std::pair<QSpinBox*, QSpinBox*> MakeNumberRow(QWidget* frame, const QString& caption, int x, int y,
                                              const QString& firstName, const QString& secondName,
                                              int low, int high) {
    MakeRowLabel(frame, caption, x, y);
    return {MakeSpinField(frame, firstName, QRect(x + 60, y, 55, 20), low, high),
            MakeSpinField(frame, secondName, QRect(x + 120, y, 55, 20), low, high)};
}

// A labelled row holding a character code and the character itself, both starting at a blank.
CodeFields MakeCodeRow(QWidget* frame, const QString& caption, int x, int y,
                       const QString& prefix) {
    MakeRowLabel(frame, caption, x, y);
    CodeFields fields;
    fields.Code = MakeSpinField(frame, prefix + QStringLiteral("CodeField"),
                                QRect(x + 60, y, 65, 20), 0, 65535);
    fields.Code->setValue(BlankCode);
    fields.Glyph = new GlyphSpinBox(frame);
    fields.Glyph->setValue(BlankCode);
    fields.Glyph->setObjectName(prefix + QStringLiteral("GlyphField"));
    fields.Glyph->setGeometry(x + 130, y, 45, 20);
    return fields;
}

QGroupBox* MakeFrame(QWidget* content, const QString& name, const QString& title, QRect geometry) {
    auto* frame = new QGroupBox(title, content);
    frame->setObjectName(name);
    frame->setGeometry(geometry);
    return frame;
}

} // namespace

MainWindow::MainWindow()
    : QMainWindow(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                               Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                               Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QStringLiteral("Glyfora"));
    move(300, 250);
    BuildMenus();
    BuildWindowMenu();
    content_ = new QWidget;
    content_->setObjectName(QStringLiteral("MainContent"));
    content_->setMinimumSize(720, MainContentHeight);
    BuildCharactersFrame(content_);
    BuildKerningPairsFrame(content_);
    BuildCommentFrame(content_);
    for (QWidget* frame : content_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        homes_.emplace_back(frame, frame->geometry());
        for (QWidget* control : frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            homes_.emplace_back(control, control->geometry());
        }
    }
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("MainScroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(content_);
    content_->installEventFilter(this);
    setCentralWidget(scroll);
    statusBar()->setObjectName(QStringLiteral("StatusBar"));
    statusBar()->setSizeGripEnabled(false);
    setMinimumSize(240, 160);
    resize(720, FinalInnerHeight());
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == content_ && event->type() == QEvent::Resize) {
        const QSize extra = content_->size() - QSize(720, MainContentHeight);
        ShareExtraRoom(extra.expandedTo(QSize(0, 0)));
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::ShareExtraRoom(QSize extra) {
    const int left = extra.width() / 2;
    const int right = extra.width() - left;
    const int down = extra.height();
    for (const auto& [widget, home] : homes_) {
        QRect place = home;
        if (widget->objectName() == u"CharactersFrame" || widget == CharacterList) {
            place.adjust(0, 0, left, down);
        } else if (widget->objectName() == u"KerningPairsFrame") {
            place.adjust(left, 0, extra.width(), down);
        } else if (widget == KerningPairList) {
            place.adjust(0, 0, right, down);
        } else if (widget->objectName() == u"CommentFrame") {
            place.adjust(0, down, extra.width(), down);
        } else if (widget == CommentField) {
            place.adjust(0, 0, extra.width(), 0);
        } else {
            place.translate(0, down); // the buttons and fields below the lists
        }
        widget->setGeometry(place);
    }
}

int MainWindow::FinalInnerHeight() const {
    return menuBar()->sizeHint().height() + statusBar()->sizeHint().height() + MainContentHeight;
}

void MainWindow::BuildMenus() {
    const auto add = [](QMenu* menu, const QString& text, const QString& name) {
        QAction* action = menu->addAction(text);
        action->setObjectName(name);
        return action;
    };
    auto* file = menuBar()->addMenu(QStringLiteral("File"));
    file->setObjectName(QStringLiteral("FileMenu"));
    FileNew = add(file, QStringLiteral("New"), QStringLiteral("FileNew"));
    FileOpen = add(file, QStringLiteral("Open..."), QStringLiteral("FileOpen"));
    FileOpenRecent = file->addMenu(QStringLiteral("Open Recent"));
    FileOpenRecent->setObjectName(QStringLiteral("FileOpenRecent"));
    FileSave = add(file, QStringLiteral("Save"), QStringLiteral("FileSave"));
    FileSaveAs = add(file, QStringLiteral("Save As..."), QStringLiteral("FileSaveAs"));
    FileImportTtf = add(file, QStringLiteral("Import TTF"), QStringLiteral("FileImportTtf"));
    file->addSeparator();
    FileQuit = add(file, QStringLiteral("Quit"), QStringLiteral("FileQuit"));
    FileNew->setShortcut(QKeySequence::New);
    FileOpen->setShortcut(QKeySequence::Open);
    FileSave->setShortcut(QKeySequence::Save);
    FileSaveAs->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    FileQuit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    auto* edit = menuBar()->addMenu(QStringLiteral("Edit"));
    edit->setObjectName(QStringLiteral("EditMenu"));
    EditUndo = add(edit, QStringLiteral("Undo"), QStringLiteral("EditUndo"));
    EditUndo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    EditRedo = add(edit, QStringLiteral("Redo"), QStringLiteral("EditRedo"));
    EditRedo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    // The tool windows have no menus of their own: these keys work whichever window is active.
    for (QAction* action :
         {FileNew, FileOpen, FileSave, FileSaveAs, FileQuit, EditUndo, EditRedo}) {
        action->setShortcutContext(Qt::ApplicationShortcut);
    }
    edit->addSeparator();
    EditCopyUpperToLower = add(edit, QStringLiteral("Copy up case to low case"),
                               QStringLiteral("EditCopyUpperToLower"));
    EditCopyUmlauts =
        add(edit, QStringLiteral("copy ÄÖÜ -> äöü +"), QStringLiteral("EditCopyUmlauts"));
    EditScaleLayout = add(edit, QStringLiteral("scale layout"), QStringLiteral("EditScaleLayout"));
    EditSpacingLayout =
        add(edit, QStringLiteral("spacing layout"), QStringLiteral("EditSpacingLayout"));
    EditPackCompactly =
        add(edit, QStringLiteral("Pack compactly"), QStringLiteral("EditPackCompactly"));
}

void MainWindow::BuildWindowMenu() {
    auto* windows = menuBar()->addMenu(QStringLiteral("Window"));
    windows->setObjectName(QStringLiteral("WindowMenu"));
    const auto add = [windows](const QString& title, const QString& name) {
        QAction* action = windows->addAction(title);
        action->setObjectName(name);
        return action;
    };
    // Each named by the window's title.
    WindowImport = add(QStringLiteral("Import TTF"), QStringLiteral("WindowImport"));
    WindowExample = add(QStringLiteral("Beispiel"), QStringLiteral("WindowExample"));
    WindowCharacterSet = add(QStringLiteral("Zeichensatz"), QStringLiteral("WindowCharacterSet"));
    WindowCharacter = add(QStringLiteral("Zeichen"), QStringLiteral("WindowCharacter"));
    WindowKerningPair =
        add(QStringLiteral("Unterschneidungspaar"), QStringLiteral("WindowKerningPair"));
}

void MainWindow::BuildCharactersFrame(QWidget* content) {
    QGroupBox* frame = MakeFrame(content, QStringLiteral("CharactersFrame"),
                                 QStringLiteral("Characters"), QRect(10, 10, 400, 295));
    CharacterList = MakeReportList(frame, QStringLiteral("CharacterList"), QRect(10, 20, 380, 180),
                                   {{QStringLiteral("Index"), 50},
                                    {QStringLiteral("Char"), 40},
                                    {QStringLiteral("Position"), 80},
                                    {QStringLiteral("Size"), 60},
                                    {QStringLiteral("Offset"), 60},
                                    {QStringLiteral("Flow"), 60}});
    CharacterListDelete =
        MakeListKey(CharacterList, QStringLiteral("CharacterListDelete"), QKeySequence::Delete);
    CharacterDeleteButton = MakeButton(frame, QStringLiteral("CharacterDeleteButton"),
                                       QStringLiteral("Delete"), QRect(10, 210, 90, 20));
    CharacterNewButton = MakeButton(frame, QStringLiteral("CharacterNewButton"),
                                    QStringLiteral("New"), QRect(105, 210, 90, 20));
    CharacterCode =
        MakeCodeRow(frame, QStringLiteral("Character:"), 210, 210, QStringLiteral("Character"));
    std::tie(SourceX, SourceY) =
        MakeNumberRow(frame, QStringLiteral("Position:"), 10, 240, QStringLiteral("SourceXField"),
                      QStringLiteral("SourceYField"), 0, 4000);
    std::tie(SourceWidth, SourceHeight) =
        MakeNumberRow(frame, QStringLiteral("Size:"), 10, 265, QStringLiteral("SourceWidthField"),
                      QStringLiteral("SourceHeightField"), 0, 4000);
    // Cells of a large atlas lie up to 32767 pixels in (what a ".tf" holds).
    for (QSpinBox* field : {SourceX, SourceY, SourceWidth, SourceHeight}) {
        FitFieldToText(field, QStringLiteral("32767"));
    }
    std::tie(OutlayX, OutlayY) =
        MakeNumberRow(frame, QStringLiteral("Offset:"), 210, 240, QStringLiteral("OutlayXField"),
                      QStringLiteral("OutlayYField"), -1000, 1000);
    std::tie(OutlayWidth, OutlayHeight) = MakeNumberRow(
        frame, QStringLiteral("Outlay:"), 210, 265, QStringLiteral("OutlayWidthField"),
        QStringLiteral("OutlayHeightField"), 0, 4000);
}

void MainWindow::BuildKerningPairsFrame(QWidget* content) {
    QGroupBox* frame = MakeFrame(content, QStringLiteral("KerningPairsFrame"),
                                 QStringLiteral("Kerning Pairs"), QRect(420, 10, 290, 295));
    KerningPairList =
        MakeReportList(frame, QStringLiteral("KerningPairList"), QRect(10, 20, 270, 180),
                       {{QStringLiteral("Indizes"), 100},
                        {QStringLiteral("Paar"), 60},
                        {QStringLiteral("Ammount"), 70}});
    KerningPairListDelete =
        MakeListKey(KerningPairList, QStringLiteral("KerningPairListDelete"), QKeySequence::Delete);
    KerningPairDeleteButton = MakeButton(frame, QStringLiteral("KerningPairDeleteButton"),
                                         QStringLiteral("Delete"), QRect(10, 210, 90, 20));
    KerningPairNewButton = MakeButton(frame, QStringLiteral("KerningPairNewButton"),
                                      QStringLiteral("New"), QRect(105, 210, 90, 20));
    LeftCode = MakeCodeRow(frame, QStringLiteral("Left:"), 10, 240, QStringLiteral("Left"));
    RightCode = MakeCodeRow(frame, QStringLiteral("Right:"), 10, 265, QStringLiteral("Right"));
    MakeLabel(frame, QStringLiteral("Amount:"), QRect(210, 233, 70, 16));
    AmountField =
        MakeSpinField(frame, QStringLiteral("AmountField"), QRect(210, 250, 60, 30), -100, 100);
}

void MainWindow::BuildCommentFrame(QWidget* content) {
    QGroupBox* frame = MakeFrame(content, QStringLiteral("CommentFrame"), QStringLiteral("Comment"),
                                 QRect(10, 315, 710, 190));
    CommentField = new QTextEdit(frame);
    CommentField->setObjectName(QStringLiteral("CommentField"));
    CommentField->setGeometry(10, 20, 690, 160);
    CommentField->setAcceptRichText(false);
}

} // namespace glyfora::app
