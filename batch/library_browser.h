#pragma once

// The library browser: the archives of one kind and category, the synopsis and cover of the
// selected novel, a title search over the whole library and a suggestion timer.

#include <QWidget>
#include <functional>

#include "batch/program_state.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QRadioButton;
class QTimer;

namespace lumora {

class PictureBox;

class LibraryBrowser : public QWidget {
    Q_OBJECT
public:
    LibraryBrowser(ProgramState& state, QWidget* parent = nullptr);
    ~LibraryBrowser() override;

    // The hand-over at the end of a harvest: kind, category selection and visible combo box,
    // without running the selection handlers.
    void presetRun(CategoryKind kind, int categoryIndex);
    // Sets the file box's folder; the list refreshes at once.
    void setFolder(const ByteText& folder);
    const ByteText& folder() const;

    // Called when the window goes (closing it ends the program).
    std::function<void()> onClosed;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CategoryKind shownKind() const;
    QComboBox* categoryBox(CategoryKind kind) const;
    ByteText categoryText(CategoryKind kind) const;

    void showFinishedKind();
    void showOngoingKind();
    void showCategoryFolder(CategoryKind kind);
    void fillSuggestions();
    void showSynopsisAndCover();
    void openSelectedFile(QListWidgetItem* item);
    void suggestTitle();
    void searchTitle();
    void setTimerPeriod(int ms);
    void reportClosed();

    ProgramState& state_;
    ByteText folder_;
    bool closedReported_ = false;

    QRadioButton* finishedKind_;
    QRadioButton* ongoingKind_;
    QComboBox* finishedCategories_;
    QComboBox* ongoingCategories_;
    QListWidget* fileBox_;
    PictureBox* coverBox_;
    QListWidget* suggestions_;
    QTimer* suggestionTimer_;
    QLabel* synopsisLabel_;
    QLineEdit* searchBox_;
    QPushButton* searchButton_;
};

}  // namespace lumora
