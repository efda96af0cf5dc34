#include "batch/library_browser.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTimer>
#include <algorithm>

#include "batch/designer.h"
#include "core/gbk.h"
#include "core/library_layout.h"
#include "platform/desktop/event_pump.h"
#include "platform/desktop/message_box.h"
#include "platform/desktop/picture_box.h"
#include "platform/desktop/qt_text.h"
#include "platform/desktop/shell_open.h"
#include "platform/files.h"
#include "platform/ini_file.h"

namespace lumora {

namespace {

constexpr int kSuggestionPeriod = 5000;
// Items keep their GBK bytes here: the shown QString may not give them back unchanged.
constexpr int kBytesRole = Qt::UserRole;

const ByteText kSeparator(std::string_view(&kPathSeparator, 1));

QListWidgetItem* textItem(const ByteText& text) {
    auto* item = new QListWidgetItem(toQString(text));
    item->setData(kBytesRole, QByteArray::fromStdString(text.str()));
    return item;
}

ByteText itemText(const QListWidgetItem* item) {
    return item ? ByteText(item->data(kBytesRole).toByteArray().toStdString()) : ByteText();
}

void fillCategories(QComboBox* box, const std::vector<Category>& table) {
    for (const Category& category : table) {
        box->addItem(toQString(category.name), QByteArray::fromStdString(category.name.str()));
    }
    box->setCurrentIndex(0);
}

// A file's name less its last 4 bytes: for an archive "<title>.rar", the novel's title.
ByteText stemOf(const ByteText& name) {
    return textLeft(name, textLength(name) - 4);
}

}  // namespace

LibraryBrowser::LibraryBrowser(ProgramState& state, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      state_(state) {
    setWindowTitle(ui("Lumora-搜小说 -BY：Tamber"));
    setFixedSize(394, 409);
    setAttribute(Qt::WA_DeleteOnClose);

    finishedKind_ = placeControl<QRadioButton>(this, "单选框1", {0, 0, 48, 25}, ui("完本"));
    ongoingKind_ = placeControl<QRadioButton>(this, "单选框2", {56, 0, 72, 25}, ui("连载中"));
    finishedKind_->setChecked(true);
    finishedCategories_ = placeControl<QComboBox>(this, "完本类", {133, 0, 83, 20});
    ongoingCategories_ = placeControl<QComboBox>(this, "连载类", {128, 0, 82, 20});
    fillCategories(finishedCategories_, state_.profile.categories(CategoryKind::finished));
    fillCategories(ongoingCategories_, state_.profile.categories(CategoryKind::ongoing));
    ongoingCategories_->hide();

    fileBox_ = placeControl<QListWidget>(this, "文件框1", {0, 24, 224, 192});
    fileBox_->setSelectionMode(QAbstractItemView::SingleSelection);
    coverBox_ = placeControl<PictureBox>(this, "图片框1", {224, 0, 152, 216});
    // Placed beyond the cover box's edge and hidden: it only holds the titles the timer suggests.
    suggestions_ = placeControl<QListWidget>(coverBox_, "列表框1", {152, 216, 120, 80});
    suggestions_->hide();
    suggestionTimer_ = new QTimer(this);
    suggestionTimer_->setObjectName(ui("时钟1"));

    synopsisLabel_ = placeControl<QLabel>(this, "标签1", {0, 232, 384, 112});
    synopsisLabel_->setAttribute(Qt::WA_TranslucentBackground);
    synopsisLabel_->setTextFormat(Qt::PlainText);  // titles and synopses are never markup
    synopsisLabel_->setWordWrap(true);
    synopsisLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    searchBox_ = placeControl<QLineEdit>(this, "编辑框1", {0, 352, 224, 24});
    searchBox_->installEventFilter(this);
    searchButton_ =
        placeControl<QPushButton>(this, "按钮1", {232, 352, 144, 24}, ui("搜索文件 是文件总名称"));

    connect(finishedKind_, &QRadioButton::clicked, this, &LibraryBrowser::showFinishedKind);
    connect(ongoingKind_, &QRadioButton::clicked, this, &LibraryBrowser::showOngoingKind);
    // activated comes from the user only, so a preset selection runs no handler.
    connect(finishedCategories_, &QComboBox::activated, this,
            [this] { showCategoryFolder(CategoryKind::finished); });
    connect(ongoingCategories_, &QComboBox::activated, this,
            [this] { showCategoryFolder(CategoryKind::ongoing); });
    connect(fileBox_, &QListWidget::itemSelectionChanged, this,
            &LibraryBrowser::showSynopsisAndCover);
    connect(fileBox_, &QListWidget::itemDoubleClicked, this, &LibraryBrowser::openSelectedFile);
    connect(suggestionTimer_, &QTimer::timeout, this, &LibraryBrowser::suggestTitle);
    connect(searchButton_, &QPushButton::clicked, this, &LibraryBrowser::searchTitle);

    setTimerPeriod(kSuggestionPeriod);
    centreOnScreen(this);

    setFolder(LibraryLayout(state_.runDirectory)
                  .archiveDir(CategoryKind::finished, categoryText(CategoryKind::finished)));
    fillSuggestions();
}

LibraryBrowser::~LibraryBrowser() {
    reportClosed();
}

void LibraryBrowser::presetRun(CategoryKind kind, int categoryIndex) {
    const bool finished = kind == CategoryKind::finished;
    const QSignalBlocker blockFinished(finishedKind_);
    const QSignalBlocker blockOngoing(ongoingKind_);
    const QSignalBlocker blockCategories(categoryBox(kind));
    categoryBox(kind)->setCurrentIndex(categoryIndex);
    (finished ? finishedKind_ : ongoingKind_)->setChecked(true);
    finishedCategories_->setVisible(finished);
    ongoingCategories_->setVisible(!finished);
}

void LibraryBrowser::setFolder(const ByteText& folder) {
    folder_ = folder;
    std::vector<ByteText> names = listFiles(folder_, ByteText("*"));
    std::sort(names.begin(), names.end(),
              [](const ByteText& a, const ByteText& b) { return a.str() < b.str(); });
    names.erase(std::unique(names.begin(), names.end()), names.end());
    // Relisting is no selection by the user: the synopsis and cover stay as they are.
    const QSignalBlocker block(fileBox_);
    fileBox_->clear();
    for (const ByteText& name : names)
        fileBox_->addItem(textItem(name));
}

const ByteText& LibraryBrowser::folder() const {
    return folder_;
}

void LibraryBrowser::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void LibraryBrowser::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (event->isAccepted())
        reportClosed();
}

bool LibraryBrowser::eventFilter(QObject* watched, QEvent* event) {
    // While the user types a title the suggestions must not overwrite it.
    if (watched == searchBox_) {
        if (event->type() == QEvent::FocusIn)
            setTimerPeriod(0);
        if (event->type() == QEvent::FocusOut)
            setTimerPeriod(kSuggestionPeriod);
    }
    return QWidget::eventFilter(watched, event);
}

void LibraryBrowser::reportClosed() {
    if (closedReported_)
        return;
    closedReported_ = true;
    if (onClosed)
        onClosed();
}

CategoryKind LibraryBrowser::shownKind() const {
    return finishedKind_->isChecked() ? CategoryKind::finished : CategoryKind::ongoing;
}

QComboBox* LibraryBrowser::categoryBox(CategoryKind kind) const {
    return kind == CategoryKind::finished ? finishedCategories_ : ongoingCategories_;
}

ByteText LibraryBrowser::categoryText(CategoryKind kind) const {
    const QComboBox* box = categoryBox(kind);
    if (box->currentIndex() < 0)
        return {};
    return ByteText(box->currentData().toByteArray().toStdString());
}

void LibraryBrowser::showFinishedKind() {
    finishedCategories_->show();
    ongoingCategories_->hide();
    showCategoryFolder(CategoryKind::finished);
}

void LibraryBrowser::showOngoingKind() {
    finishedCategories_->hide();
    ongoingCategories_->show();
    showCategoryFolder(CategoryKind::ongoing);
}

void LibraryBrowser::showCategoryFolder(CategoryKind kind) {
    setFolder(LibraryLayout(state_.runDirectory).archiveDir(kind, categoryText(kind)));
    fileBox_->setFocus();
    // The pause runs every pending event, a close of this window included.
    const QPointer<LibraryBrowser> alive(this);
    pumpEvents(state_.responseDelay);
    if (alive)
        fillSuggestions();
}

void LibraryBrowser::fillSuggestions() {
    // listFiles takes the folder with or without a trailing separator.
    const std::vector<ByteText> archives = listFiles(folder_, ByteText("*.rar"));
    suggestions_->clear();
    for (const ByteText& name : archives)
        suggestions_->addItem(textItem(stemOf(name)));
}

void LibraryBrowser::showSynopsisAndCover() {
    const QList<QListWidgetItem*> selected = fileBox_->selectedItems();
    if (selected.isEmpty())
        return;
    const ByteText title = stemOf(itemText(selected.first()));
    const CategoryKind kind = shownKind();
    const LibraryLayout layout(state_.runDirectory);

    const ByteText synopsis =
        synopsisFromFile(readFile(layout.synopsisFile(kind, categoryText(kind), title)));
    const ByteText heading = title + gbk(" 简介：\r\n  ");
    ByteText text = heading + synopsis;
    if (text == heading)
        text += gbk("该文件没有简介  或者重新采集下该类文件！！");
    synopsisLabel_->setText(toQString(text).replace(ui("\r\n"), ui("\n")));

    coverBox_->showPicture(readFile(layout.cover(title)));
}

void LibraryBrowser::openSelectedFile(QListWidgetItem* item) {
    shellOpen(folder_ + kSeparator + itemText(item));
}

void LibraryBrowser::suggestTitle() {
    const int count = suggestions_->count();
    const int index = state_.random.next(0, count - 1);
    searchBox_->setText(count > 0 ? toQString(itemText(suggestions_->item(index))) : QString());
}

void LibraryBrowser::searchTitle() {
    ByteText title = toByteText(searchBox_->text());
    // Byte-exact: "X.RAR" is searched as it stands.
    if (textRight(title, 4) == ByteText(".rar"))
        title = textLeft(title, textLength(title) - 4);
    if (textRight(title, 3) == ByteText("rar"))
        title = textLeft(title, textLength(title) - 3);

    const LibraryLayout layout(state_.runDirectory);
    const ByteText archivePath =
        iniRead(layout.libraryIndex(), LibraryLayout::indexSection(), title);
    if (archivePath.empty()) {
        messageBox(
            gbk("寻找失败，原因如下：\r\n  ①：本文件不存在\r\n  ②：本文件存在但是本程序更新后"
                "没有采集过本类小说，采集时不论是否成功、失败！！"),
            kMessageInformation);
        return;
    }
    if (messageBox(gbk("寻找成功，是否打开？"), kMessageOkCancel) == kAnswerOk) {
        shellOpen(archivePath);
    }
}

void LibraryBrowser::setTimerPeriod(int ms) {
    if (ms <= 0) {
        suggestionTimer_->stop();
        return;
    }
    suggestionTimer_->setInterval(ms);
    suggestionTimer_->start();
}

}  // namespace lumora
