#pragma once
// The main window of the logger.  It comes in two variants of one design:
// Outfrm for a station outside the home state and Infrm for one inside it.
// This class holds the controls, menus and procedures both share; a variant
// adds its own fields, lists and captions and the steps in which it differs.
//
// The window is laid out in twips for a 9600 x 7200 twip screen.  Creating
// it builds the controls; the start sequence (fitting, columns, saved band
// and mode, the county table, the open-existing-log question, the log load
// and rig polling) runs once, when the window is first shown or first
// reached through Form1 (load()).

#include "common/LogWindowLink.h"
#include "common/TwipsLayout.h"
#include "logwindow/ClickLabel.h"
#include "common/CommonDialog.h"
#include "logwindow/ContactListView.h"
#include "common/ControlArray.h"
#include "common/OncePerPass.h"
#include "spots/SpotStore.h"

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

class QAction;
class QListWidget;
class QMenu;
class QPushButton;
class QTimer;
class QHeaderView;
class QTreeWidget;

namespace zq {

class EntryBox;
struct ContactRecord;
struct DupeEntry;
struct FinalDupeResult;

// The desktop work area as the window sees it, in twips.
class WorkAreaInfo {
public:
    explicit WorkAreaInfo(const QWidget* owner) : owner_(owner) {}
    double WorkAreaWidth() const { return workAreaTwips(owner_).width(); }
    double WorkAreaHeight() const { return workAreaTwips(owner_).height(); }

private:
    const QWidget* owner_;
};

class LogWindow : public QMainWindow, public ActiveLogWindow {
    Q_OBJECT
public:
    // The Exit command's saving: the operating time and the preferences
    // when the operator is logged on; no backup.
    void saveOperatingTime();
    enum class Variant { OutOfState, InState };

    ~LogWindow() override;

    // A spot's call into txtCall as the field takes typed keys: characters
    // it refuses are dropped and its length limit holds.
    void enterSpotCall(const QString& call) override;
    void logKeyedContact() override;

    Variant variant() const { return variant_; }

    // Runs the start sequence once; later calls do nothing.
    void load() override;
    bool isLoadedWindow() const { return loaded_; }

    // The controls the windows below reach (ActiveLogWindow).
    EntryBox& callBox() override { return *txtCall; }
    EntryBox& countyBox() override { return *txtSec; }
    QLabel& dialogLabel() override { return *lblDialog; }
    QLabel& totalScoreLabel() override { return *lblTotScore; }
    QListWidget& workedCountyList() override { return *List2; }
    CommonDialog& fileDialog() override { return *cdbFile; }
    LogWindow& logWindow() override { return *this; }

    // True once the start sequence has loaded the log.  Until then nothing
    // of the log is backed up or saved when the window closes.
    bool logLoaded() const { return logLoaded_; }

    // --- Operations other windows use -------------------------------------
    void cmdDelete_Click();
    void Form_KeyDown(int& keyCode, int& shift);
    void Form_KeyPress(int& keyAscii);
    void mnuBand10Ch_Click();
    void mnuBand15Ch_Click();
    void mnuBand160Ch_Click();
    void mnuBand20Ch_Click();
    void mnuBand40Ch_Click();
    void mnuBand6Ch_Click();
    void mnuBand80Ch_Click();
    void Mains() override = 0;
    // Opens, switches or closes the spot area along the bottom edge as the
    // spotting window's source and display choice say.
    void PacketResize() override;
    // One spot: the frequency text in kHz becomes MHz text in place and the
    // record is cut at its first CR; the spot enters SpotStore and the top
    // of the spot list, and the band maps shown are redrawn right after the
    // event-loop pass (once for all the spots of that pass).  A frequency
    // that is not a plain number changes nothing.
    void BandMapSpots(QString& qDXSpotCall, QString& qDXSpotFreq, QString& qDXSpotRecord) override;
    // Draws the band map (scale and spot labels) while it is shown.
    void DisplayBandMapLabels() override;
    // The rig's frequency in MHz: selects the band it lies in (when that is
    // an operating band other than the current one) and sets the frequency
    // text of the next contact.
    void BandFreqConversion(float& frequencyValue) override;
    // The rig's mode: "PH" or "CW" selects that mode when it differs from
    // the current one; anything else does nothing.
    void ModeSelection(QString& strMode) override;

    // Reads log.txt again and rebuilds points, counts, lists and totals.
    // False when the log could not be loaded: the failure has been reported
    // and the program ended.
    bool ReloadLog();

    // --- Sizing ------------------------------------------------------------
    void SizeFormToPercent();
    void LayoutFullScreen();
    void FitListHeights();
    // The stored percentage as applied: 0 (never set) counts as 100 and
    // values below 30 count as 30.
    static int effectiveFormSizePercent(int stored);

    // Set by a key pressed with Ctrl alone; the character of that key is
    // then consumed (LogWindow_keys.cpp).
    uint8_t CtrlKeyHandled = 0;

    // --- Controls ---------------------------------------------------------
    // Entry row.
    EntryBox* txtCall = nullptr;
    EntryBox* txtRSTR = nullptr;
    EntryBox* txtCntry = nullptr;
    EntryBox* txtSec = nullptr;
    EntryBox* txtRSTS = nullptr;
    EntryBox* txtPostConTime = nullptr;
    EntryBox* txtPostConDate = nullptr;
    ControlArray<QLabel> lblStation;
    QLabel* lblPostConTime = nullptr;
    QLabel* lblPostConDate = nullptr;

    // Messages and contact list.
    QLabel* lblDialog = nullptr;
    QLabel* lblPossDup = nullptr;
    QLabel* lblDupe = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* lblRecentContacts = nullptr;
    ContactListView* ListView1 = nullptr;
    QPushButton* cmdEdit = nullptr;
    QPushButton* cmdDelete = nullptr;
    QPushButton* cmdList = nullptr;
    QPushButton* cmdDup = nullptr;

    // Side lists (sorted).
    QListWidget* List1 = nullptr;
    QListWidget* List2 = nullptr;

    // Score panel.
    QLabel* lblScorStats = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* lblTotCon = nullptr;
    QLabel* Label26 = nullptr;
    QLabel* Label27 = nullptr;
    QLabel* lblTotSec = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* lblTotScore = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* lblAQSO20 = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* lblAQSO60 = nullptr;

    // Station strip, clocks and lookup results.
    QLabel* Label2 = nullptr;
    QLabel* Label25 = nullptr;
    QLabel* Label21 = nullptr;
    ClickLabel* Label24 = nullptr;
    QLabel* lblBandSwitch = nullptr;
    ClickLabel* Label30 = nullptr;
    QPushButton* cmdLogOn = nullptr;
    QLabel* Label12 = nullptr;
    QLabel* lblttrack = nullptr;
    QLabel* lblCurTime = nullptr;
    QLabel* Label16 = nullptr;
    QLabel* lblutctime = nullptr;
    QLabel* Label11 = nullptr;
    QLabel* Label20 = nullptr;
    QLabel* Label19 = nullptr;
    QLabel* Label17 = nullptr;
    QLabel* Label22 = nullptr;
    QLabel* Label18 = nullptr;
    QLabel* Label23 = nullptr;

    // Timers, dialog, work area and the spot area.
    QTimer* Timer1 = nullptr; // 60000 ms: rate meters
    QTimer* Timer2 = nullptr; // 1000 ms: clocks and operating time
    CommonDialog* cdbFile = nullptr;
    WorkAreaInfo SysInfo1{this};
    LineControl* Line3 = nullptr;
    QTreeWidget* txtDX = nullptr;
    QLabel* lblDX = nullptr;
    LineControl* LineDX = nullptr;
    ControlArray<QLabel> lblFreqSpot; // 0..4
    ControlArray<QLabel> lblDXSpot;   // 0..49

    // --- Menus --------------------------------------------------------------
    QMenu* mnuFile = nullptr;
    QAction* mnuNew = nullptr;
    QAction* mnuArchive = nullptr;
    QAction* mnuRestore = nullptr;
    QAction* mnuOpen = nullptr;
    QAction* mnuWriteSumm = nullptr;
    QAction* mnuLogvaneImport = nullptr;
    QAction* mnuexportADIF = nullptr;
    QAction* mnuCopyListtoClipboard = nullptr;
    QAction* mnuExit = nullptr;
    QMenu* mnuOptions = nullptr;
    QMenu* mnuAppearance = nullptr;
    QAction* mnuFormSize = nullptr;
    QAction* mnuColors = nullptr;
    QAction* mnuTaskbar = nullptr;
    QMenu* mnutrans = nullptr;
    QAction* mnuCW = nullptr;
    QAction* mnuVoice = nullptr;
    QAction* mnuRigInterface = nullptr;
    QMenu* mnuDX = nullptr;
    QAction* mnuDXSpotting = nullptr;
    QAction* mnuSpectrumMap = nullptr;
    QAction* mnuBlind = nullptr;
    QAction* mnuListPrevious = nullptr;
    QAction* mnuPostContest = nullptr;
    QMenu* mnuBandChange = nullptr;
    QAction* mnuBand160Ch = nullptr;
    QAction* mnuBand80Ch = nullptr;
    QAction* mnuBand40Ch = nullptr;
    QAction* mnuBand20Ch = nullptr;
    QAction* mnuBand15Ch = nullptr;
    QAction* mnuBand10Ch = nullptr;
    QAction* mnuBand6Ch = nullptr;
    QAction* mnuPrivileges = nullptr;
    QMenu* mnuBand = nullptr; // "&Mode"
    QAction* mnu160 = nullptr; // "&CW"
    QAction* mnuSSB = nullptr; // "&PH"
    QAction* mnuDigital = nullptr;
    QAction* mnuClear = nullptr;
    QAction* mnuMap = nullptr;
    QAction* mnuGraph = nullptr;
    QAction* mnuRecall = nullptr;
    QAction* mnuCountyList = nullptr;
    QAction* mnuHelp = nullptr;

protected:
    explicit LogWindow(Variant v);

    // --- Building (constructors) -------------------------------------------
    QLabel* makeLabel(const char* name, const QString& text, double left, double top,
                      double width, double height);
    ClickLabel* makeClickLabel(const char* name, const QString& text, double left, double top,
                               double width, double height);
    EntryBox* makeEntry(const char* name, int limit, double left, double top, double width,
                        double height);
    QPushButton* makeButton(const char* name, const QString& text, double left, double top,
                            double width, double height);
    QListWidget* makeSortedList(const char* name, double left, double top, double width,
                                double height);
    QLabel* makeStationLabel(int index, const QString& text, double left, double top,
                             double width, double height);
    // Places a score-panel row (0..6): caption on the left, value on the right.
    void placeScoreRow(int row, QLabel* caption, QLabel* value);
    QMenu* topMenu(const char* name, const QString& caption);
    QMenu* subMenu(QMenu* parent, const char* name, const QString& caption);
    QAction* menuItem(QMenu* menu, const char* name, const QString& caption,
                      void (LogWindow::*handler)(), bool checkItem = false);
    QAction* barItem(const char* name, const QString& caption, void (LogWindow::*handler)());

    // --- Variant steps ------------------------------------------------------
    struct ColumnSpec {
        QString header;
        double width; // design twips
        Qt::Alignment alignment = Qt::AlignLeft;
    };
    virtual QString greetingText() const = 0;
    // Design widths (twips) of the contact list's columns, in the order of
    // contactListHeaders (the in-state rover's last column included).
    virtual std::vector<double> contactListWidths() const = 0;
    // After the contact-list columns are made (the in-state rover's menu item).
    virtual void afterContactListColumns() {}
    // The saved options (list previous, form size, ...), in the variant's order.
    virtual void applySavedOptions() = 0;
    // The own station's captions.
    virtual void showStation() = 0;
    // The side lists after List1 that FitListHeights sizes like it.
    virtual std::vector<QListWidget*> followingSideLists() const = 0;
    // ReloadLog before the counting (the in-state grid and marks).
    virtual void beforeReloadCount() {}
    // ReloadLog's refresh of the displays, in the variant's order.
    virtual void refreshDisplays() = 0;
    // After the band menu items were cleared for a band change.
    virtual void afterBandChangeRefresh() {}
    // After a mode handler set the mode and its menu checks.
    virtual void afterModeChange(const QString& mode) { (void)mode; }
    // Closing: variant windows unloaded between Form1 and frmWinKey.
    virtual void unloadVariantToolWindows() {}

    // Pieces of applySavedOptions for the variants.
    void setPartialDupeDisplay();
    void sizeToSavedPercent();
    void checkListPrevious();

    // --- Procedures of the contact entry and scoring --------------------------
    // (LogWindowEntry.cpp; the variants' Mains in OutfrmEntry.cpp and
    // InfrmEntry.cpp.)
    void RebuildCountyLists();
    void UpdateCountyLists();
    void RefreshContactList();
    void UpdateRates();
    void UpdateTotals();
    void ShowOperatingTime();
    void cmdLogOn_Click();
    void Timer1_Timer();
    void Timer2_Timer();
    void cmdEdit_Click();
    void cmdList_Click();
    void cmdDup_Click();
    // The checks of the logging step; they report through the check flags
    // of EntryState, lblDialog, a beep and the focus.
    void CheckRequiredFields();
    void CheckCounty();
    void FinalDupeCheck();
    // A duplicate found by the final check: the red message, the beep and
    // spoken "Dupe", the duplicate lock and the cleared row.  Nothing when
    // r found none.
    void reportFinalDuplicate(const FinalDupeResult& r);
    // Leaving the call field: the call's previous contacts and the warning.
    void DupCheck2();
    // Shows the county and state/province/country that a duplicate check
    // filled into empty fields from the call's earlier contact, selected.
    void showFilledExchange(const DupeEntry& entry, bool countyFilled, bool spcFilled);
    // A key typed into the call field (already upper-cased).
    void ShowPossibleDupes(int keyAscii);

    // Pieces of Mains that both variants run.
    // Logs on when logged off.
    void logOnIfNeeded();
    // The post-contest date and time check; false (reported) ends Mains.
    bool checkPostContestFields();
    // Replaces a typed county abbreviation by the county's name.
    void expandCountyAbbreviation();
    // True when every check flag is 0.
    static bool checksPassed();
    // True when the required-field, section and county flags are 0.
    static bool rowChecksPassed();
    // Stores the entry row as the next contact, counts and appends it; false
    // (reported, row kept) when the log is full or log.txt cannot be written.
    bool storeEnteredContact();
    // Stores rec as the next contact, counts and appends it; false when the
    // log is full or log.txt cannot be written (reported in lblDialog).
    bool storeAndReport(const ContactRecord& rec);
    // lblDialog and lblDupe back to their neutral state after a store.
    void resetStatusAfterStore();
    // Empties the entry fields and the lookup labels (the focus stays).
    void emptyEntryRow();
    // Empties the entry row and the lookup labels, focus to the call field.
    void clearEnteredRow();
    // The end of Mains once its checks have run: when every check passed
    // the contact is stored and showStored refreshes the variant's lists
    // (the totals follow); the row is cleared unless a check of the row
    // failed or the store failed; then finishMains.  True when stored.
    bool storeCheckedContact(const std::function<void()>& showStored);
    // The end of every Mains that passed the post-contest check.
    void finishMains(bool keepFrequency);

    // Status colours.
    void setDialogRed(bool red);
    void setDupeColoured(bool coloured);
    // lblDupe's font at `points` of a 9600-twip wide screen, scaled to this
    // screen and the form size.
    void setDupeFontSize(double points);

    // Variant parts the shared procedures read.
    virtual QListWidget* countiesToGoList() const { return List1; }
    virtual QLabel* workedCountiesCaption() const { return lblStation(5); }
    QLabel* countiesToGoCaption() const { return lblStation(7); }
    virtual QLabel* cwTotalLabel() const = 0;
    // States and provinces worked (in-state multipliers).
    virtual int stateMultipliers() const { return 0; }
    // What clearing the row does besides the fields (in-state: the county
    // caption is disabled).
    virtual void afterRowCleared() {}
    // The end of the call field's key handling (in-state: the duplicate lock).
    virtual void afterCallKeyPress() {}
    // The row of the first entry of list equal to text without regard to
    // case, -1 when none.
    static int findListEntry(const QListWidget* list, const QString& text);
    // Connects the clicks of the county lists (the variant's constructor
    // calls it once its lists exist).
    void wireCountyLists();

    // --- Entry row keys, focus and lookup (LogWindow_entryrow.cpp) ------------
    // Installs the entry row's key and focus handlers (the post-contest
    // fields' included) and the window's key preview; each variant's
    // constructor calls it last, once all its controls exist.
    void wireOperatorKeys();
    // Key preview: the window sees every key before the control that has
    // the focus (LogWindow_keys.cpp).
    void installKeyPreview();
    // Enter in an entry field: the key is dropped and the contact logged.
    // True when the key was Enter.
    bool logOnEnter(int& keyAscii);
    // True when no field of the entry row holds text (the row emptied after
    // a contact): Enter there changes nothing.
    bool entryRowEmpty() const;
    // Runs before the key handler of every field of the entry row; true when
    // the key was dropped (keyAscii is then 0).
    bool keyOfEmptyOrDuplicateRow(int& keyAscii);
    // A duplicate found on leaving the call field has cleared the row while
    // the operator may still be typing it: the keys that follow at once, up
    // to and including the Enter that would have logged it, belong to that
    // row and are dropped.  A pause, a key after the duplicate lock, text
    // put into the row another way, Esc or a CW message that logs ends it.
    void startDuplicateRowKeys();
    void endDuplicateRowKeys() { duplicateRowKeys_ = false; }
    void txtCall_KeyPress(int& keyAscii);
    void txtRSTR_KeyPress(int& keyAscii);
    void txtCntry_KeyPress(int& keyAscii);
    void txtSec_KeyPress(int& keyAscii);
    void txtRSTS_KeyPress(int& keyAscii);
    void txtCall_Change();
    void txtCall_GotFocus();
    void txtCall_LostFocus();
    void txtRSTR_GotFocus();
    void txtRSTS_GotFocus();
    virtual void txtSec_GotFocus();
    void txtRSTS_Change();
    virtual void txtCntry_Change();
    virtual void txtCntry_GotFocus() {}
    // True when the field that got the focus last was reached backwards
    // (Shift+Tab), so a field that passes the focus on passes it back.
    bool focusCameBackwards() const { return entryFocusReason_ == Qt::BacktabFocusReason; }
    // The country of the typed call (the in-state window looks it up).
    virtual void LookupCallCountry() {}
    void ClearEntry();

    // --- Post-contest fields (LogWindow_postcontest.cpp) ----------------------
    // Part of wireOperatorKeys.
    void wirePostContestFields();
    void txtPostConTime_GotFocus();
    void txtPostConTime_KeyPress(int& keyAscii);
    void txtPostConDate_GotFocus();
    void txtPostConDate_KeyPress(int& keyAscii);
    void postContestKey(EntryBox* box, int& keyAscii, int first, int last);
    void ShowBearingDistance(float latitude, float longitude);
    // The position of a US state code typed as the exchange: continent
    // "NA", bearing and distance.
    void showStatePosition(const QString& text);

    // --- Band map and spot list (LogWindow_spots.cpp) --------------------------
    void DrawBandMapScale();
    void RefreshForBandChange();
    void RefreshBandMapLabels();
    // button: 1 left, 2 right, 4 middle.
    void lblDXSpot_MouseDown(int Index, int Button, int Shift, float X, float Y);
    void lblDXSpot_MouseMove(int Index, int Button, int Shift, float X, float Y);
    void txtDX_Click();
    void txtDX_DblClick();
    void lblDX_Click();
    void lblDX_DblClick();

    // --- Band and mode -----------------------------------------------------
    void mnu160_Click();
    void mnuSSB_Click();
    void mnuDigital_Click();
    void Label24_Click();
    void Label30_Click();

    // --- Menu commands ------------------------------------------------------
    void mnuNew_Click();
    void mnuArchive_Click();
    void mnuRestore_Click();
    void mnuOpen_Click();
    void mnuWriteSumm_Click();
    void mnuLogvaneImport_Click();
    void mnuexportADIF_Click();
    void mnuCopyListtoClipboard_Click();
    void mnuExit_Click();
    void mnuFormSize_Click();
    void mnuColors_Click();
    void mnuTaskbar_Click();
    void mnuCW_Click();
    void mnuVoice_Click();
    void mnuRigInterface_Click();
    void mnuDXSpotting_Click();
    void mnuSpectrumMap_Click();
    void mnuBlind_Click();
    void mnuListPrevious_Click();
    void mnuPostContest_Click();
    void mnuPrivileges_Click();
    void mnuClear_Click();
    void mnuMap_Click();
    void mnuGraph_Click();
    void mnuRecall_Click();
    void mnuCountyList_Click();
    void mnuHelp_Click();

    void AskOpenExistingLog();

    // --- Contact list (LogWindow_list.cpp) -----------------------------------
    void ListView1_Click();
    void ListView1_LostFocus();
    // columnHeaderIndex counts from 1.
    void ListView1_ColumnClick(int columnHeaderIndex);
    // button: 1 left, 2 right, 4 middle.
    void ListView1_MouseUp(int button, int shift, float x, float y);

    // --- Events -------------------------------------------------------------
    void setVisible(bool visible) override;
    void closeEvent(QCloseEvent* e) override;
    void changeEvent(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    // See startDuplicateRowKeys().
    bool duplicateRowKeys_ = false;
    std::chrono::steady_clock::time_point duplicateRowLastKey_{};

    void wireContactList();
    void showEditAndDelete();
    // A click on an entry of a county list (worked or to go).
    void countyListClicked(const QString& county);
    // True when ListView1 shows the rows of contacts last down to first,
    // newest on top (RefreshContactList then only adds the newest row).
    // Checked in constant time: the list is as RefreshContactList left it
    // (listInOrder_) and its end rows are those contacts.
    bool listHoldsContactsUpTo(int last, int first) const;
    void buildSharedControls();
    void buildSpotArea();
    void wireSpotArea();
    // Spot area layout steps of PacketResize.
    void showSpotList(bool list);
    void openSpotArea(bool list);
    void closeSpotArea();
    // The window's size changed by rW x rH while the spot area is open:
    // the geometry it gives back on closing follows.
    void scaleSpotAreaSaved(double rW, double rH);
    void buildMenus();
    void runStartSequence();
    bool fitToScreen();
    void makeColumns(QTreeWidget& list, const std::vector<ColumnSpec>& columns);
    void makeColumns(ContactListView& list, const std::vector<ColumnSpec>& columns);
    // Column widths in pixels for the window's present width.
    void sizeColumns(QHeaderView& header, const std::vector<ColumnSpec>& columns);
    std::vector<ColumnSpec> contactListColumns() const;
    void showSavedMode();
    void showSavedBand();
    bool loadCountyTableStep();
    void selectBand(const QString& band, QAction* item);
    void selectMode(const QString& mode);
    void runBandHandler(int operatingBandIndex);
    void unloadToolWindows();
    void scaleColumns(QHeaderView& header, double factor);
    QAction* bandItem(int operatingBandIndex) const;

    // What the controls held before the spot area opened; given back whole
    // when it closes, so that opening and closing never drifts.
    struct SpotAreaSaved {
        std::vector<std::pair<QPointer<QWidget>, TwipsRect>> controls;
        std::vector<std::pair<QPointer<LineControl>, TwipsRect>> lines; // X1, Y1, X2, Y2
    };
    std::optional<SpotAreaSaved> spotAreaSaved_;
    // The band map's drawing after new spots: once per event-loop pass.
    OncePerPass bandMapPass_{this, [this] { DisplayBandMapLabels(); }};
    // The spot each band-map label shows, bound when it is drawn.
    std::array<ShownSpot, SpotStore::Held> shownSpots_{};

    Variant variant_;
    bool loaded_ = false;
    bool logLoaded_ = false;
    QWidget* surface_ = nullptr;
    // ListView1 holds exactly the rows RefreshContactList put there: any
    // other change of its rows (a clear, the previous contacts of a call, a
    // sort, an edited cell) sets it back to false.
    bool listInOrder_ = false;
    // Why an entry row field last got or lost the focus.
    Qt::FocusReason entryFocusReason_ = Qt::OtherFocusReason;
};

} // namespace zq
