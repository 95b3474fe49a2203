#pragma once

#include "FormFill.h"
#include "FormMemory.h"
#include "HotkeyTarget.h"
#include "MainLayout.h"
#include "PostRound.h"

#include <QPointer>
#include <QWebEnginePage>
#include <QTimer>
#include <QWidget>

#include <memory>

class ArticleController;
class ContinuousRound;
class CredentialGuard;
class DocumentTransfer;
struct GeneralKeys;
class HistoryDatabase;
class HotkeyDispatcher;
class PostHistory;
class PostRecorder;
class QHBoxLayout;
class QToolButton;
class QPushButton;
class SettingsFile;
class SettingsFileLoader;
class SiteController;
class SiteStore;
class TAddressBar;
class TeamRound;
class TPageControl;
class TWebbrowser;
class BrowserProfile;
class VendorWindows;

// The main window: builds the layout, places every subsystem's panel in it,
// wires them together, and runs start-up and shutdown. The subsystems own
// their own controls, captions, pictures, hints and handlers.
class TFrmMain : public QWidget {
    Q_OBJECT
public:
    explicit TFrmMain(const QString& dataFolder, QWidget* parent = nullptr);
    ~TFrmMain() override;

    static QFont windowFont();  // "宋体" 15 px, with CJK fallbacks

    QString dataFolder() const { return m_dataFolder; }
    SettingsFile* settings() const { return m_settings; }
    SiteStore* siteStore() const;
    ArticleController* articles() const { return m_articles; }
    TPageControl* pageControl() const { return PageControl; }
    PostHistory* postHistory() const { return m_history; }
    PostRound* postRound() const { return m_postRound; }
    FormMemory* formMemory() const { return m_formMemory; }
    ContinuousRound* continuousRound() const { return m_continuousRound; }
    TAddressBar* addressBar() const { return m_addressBar; }
    const MainLayout& regions() const { return m_layout; }
    bool isFullScreenLayout() const { return m_fullScreen; }
    int rememberedContentWidth() const { return m_rememberedContentWidth; }

    // Shutdown: the current article and the general keys. Runs once.
    void SaveAllData();

public slots:
    void BtnIHExitClick();
    void Splitter2Moved();
    void FormResize();
    void CbIhEditClick();
    void BtnFullScreenClick();
    void MnAboutClick();
    void MnHelpClick();
    void Image48MouseDown();
    // Fills the current page as learnt from the hotkey pastes (F9); forgets it (Shift+F9).
    void FillCurrentPage();
    void ForgetCurrentPage();
    void showHint(const QString& text);
    // A problem found at start-up (or with the first page) joins the others
    // in the hint line until a later message replaces them.
    void reportProblem(const QString& text);

signals:
    // The stored site's page (or the first page) finished loading after start-up.
    void firstPageLoaded();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void FormCreate();
    void LoadAllData();
    void SelectStoredItems(const GeneralKeys& stored, bool afterImport);
    void buildPanels();
    void openStoredSitePage();
    void wireSubsystems();
    void buildHistory();
    void wireHistory();
    void reportHistoryProblem();
    // An article text went into `page` (a hotkey or a fill): its next post counts.
    void noteArticlePaste(QWebEnginePage* page);
    // A small button in the corner of the tab strip, beside the others there.
    QToolButton* addCornerButton(const char* name, const QString& text, const QString& hint);
    void wireFormFill();
    void fillForm(TWebbrowser* browser, const QList<FormMemory::Field>& form);
    void reportFill(const FormFill::Outcome& outcome);
    void wireContinuousRound();
    // The team's server, when team.ini names one.
    void addTeamHooks(PostRound::Hooks& hooks);
    void wireTeam();
    void showTeamState();
    // Asks the team for the browser's page's form; false without a team. `then`
    // follows when the page is still shown, with whether the team knew one.
    bool fetchTeamForm(TWebbrowser* browser, std::function<void(bool found)> then);
    void ApplySkin();
    // Esc, F11, F6 (the address bar) and the tab order; the focus starts in the site list.
    void setUpKeyboard();
    QList<QWidget*> tabStops() const;
    void TimerFirstRunTimer();
    void reportFirstPage();  // firstPageLoaded, once
    void reloadAfterImport();
    void reportWriteFailure(const QString& error);
    void reportStartupProblems();
    void setHintText(const QString& text);
    bool isContentPanelShown() const;  // CbIhEdit

    QString m_dataFolder;
    MainLayout m_layout;
    SettingsFile* m_settings = nullptr;
    std::unique_ptr<SettingsFileLoader> m_settingsLoader;  // until the panels take the file
    BrowserProfile* m_profile = nullptr;
    SiteController* m_sites = nullptr;
    ArticleController* m_articles = nullptr;
    TAddressBar* m_addressBar = nullptr;
    TPageControl* PageControl = nullptr;
    HotkeyDispatcher* m_hotkeys = nullptr;
    DocumentTransfer* m_transfer = nullptr;
    VendorWindows* m_vendorWindows = nullptr;
    std::unique_ptr<HistoryDatabase> m_historyDatabase;
    PostHistory* m_history = nullptr;
    PostRecorder* m_postRecorder = nullptr;
    PostRound* m_postRound = nullptr;
    TeamRound* m_team = nullptr;
    QHBoxLayout* m_cornerButtons = nullptr;  // beside the tabs, made with the first button
    FormMemory* m_formMemory = nullptr;
    FormFill* m_formFill = nullptr;
    CredentialGuard* m_credentialGuard = nullptr;
    ContinuousRound* m_continuousRound = nullptr;
    QPointer<QWebEnginePage> m_fillingPage;  // the page of the fill that runs
    QList<FormFill::Field> m_credentialsWithheld;  // from the fill that runs, not this site's page
    QPushButton* BtnIHAboutUs = nullptr;
    QPushButton* BtnIHExit = nullptr;
    QTimer TimerFirstRun;
    QStringList m_problems;  // shown together in the hint line
    int m_rememberedContentWidth = 200;
    bool m_fullScreen = false;
    bool m_saved = false;
    bool m_closing = false;
    bool m_firstPageReported = false;
};
