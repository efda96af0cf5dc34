#pragma once

// The batch edition's main window: the kind and category, the page box, the response time, the
// messenger buttons and the harvest button.

#include <QWidget>

#include "batch/program_state.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace lumora {

class LibraryBrowser;
class LinkBrowser;

class MainWindow : public QWidget {
    Q_OBJECT
public:
    explicit MainWindow(ProgramState& state, QWidget* parent = nullptr);
    // The window going deletes the page cache.
    ~MainWindow() override;

    void applyResponseTime();
    // The harvest button: one whole run, ending in the summary question.
    void runHarvest();

    // The library browser a finished run handed over to; null before.
    LibraryBrowser* libraryBrowser() const { return browser_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    CategoryKind selectedKind() const;
    void showFinishedKind();
    void showOngoingKind();
    void handOverToLibraryBrowser(CategoryKind kind, int categoryIndex);

    ProgramState& state_;
    QImage logo_;
    QToolButton* joinGroupButton_;
    QToolButton* addContactButton_;
    QLineEdit* pageBox_;
    QComboBox* finishedCategories_;
    QComboBox* ongoingCategories_;
    QRadioButton* finishedKind_;
    QRadioButton* ongoingKind_;
    QCheckBox* overwriteBox_;
    QPushButton* harvestButton_;
    QLineEdit* responseTimeBox_;
    QComboBox* finishedUrls_;
    QComboBox* ongoingUrls_;
    LinkBrowser* groupBrowser_;
    LinkBrowser* contactBrowser_;
    LibraryBrowser* browser_ = nullptr;
};

}  // namespace lumora
