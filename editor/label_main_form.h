#pragma once
// The main window: one label, its canvas, the toolbar, the side panels and the
// status line. Its methods are spread over the editor's files by concern
// (start-up and layout, keys, canvas view, ...); this header is the one class.

#include <QImage>
#include <QLine>
#include <QPointer>
#include <QStringList>
#include <QWidget>
#include "editor/edit_drag.h"
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QComboBox;
class QMenu;
class QMimeData;
class QLabel;
class QListView;
class TTemplateBrowser;
class QScrollArea;
class QSpinBox;
class TAppSettings;
class TDataPanel;
class TDialogs;
class TDropTargets;
class TLabelDoc;
class TLabelElement;
class TModernButton;
class TPaintBox;
class TStatusBar;
class TPropsCodeGroup;
// Properties panel.
class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QSlider;
class TRadioGroup;
class TSpinEdit;
// Printing.
class QTimer;
class TBatchRun;
class TBleDevice;
class TBleManager;
class TNimboBle;
class TPrinterSetupForm;
class TTimeSource;
struct TNbMonoImage;

// What the window needs from outside; tests hand in their own.
struct TMainFormDeps {
    TDialogs* Dialogs = nullptr;  // nullptr: the real message boxes and dialogs
    // Monotonic milliseconds (merged undo steps); empty: the steady clock.
    std::function<uint64_t()> TickMs;
    // The Bluetooth LE central the printer link talks through; required.
    TBleManager* Ble = nullptr;
    // Time of the printer link (its waits and timeouts); nullptr: the steady clock.
    TTimeSource* LinkTime = nullptr;
    // How long the start-up search for the remembered printer may take, in ms.
    int ScanTimerMs = 11000;
    // Where template thumbnails are kept between runs; empty: the user's cache folder.
    QString ThumbnailCacheDir;
};

class TLabelMainForm : public QWidget {
    Q_OBJECT
public:
    explicit TLabelMainForm(const TMainFormDeps& deps = {}, QWidget* parent = nullptr);
    ~TLabelMainForm() override;

    // Shared operations of the editor.
    void SetStatus(int Index, const QString& Text);
    void UpdateTitle();
    void DocChanged();
    void RefreshAll();
    bool ConfirmDiscard();

    // Canvas view.
    QRect DesignToScreen(const QRect& R) const;
    QPoint ScreenToDesign(int x, int y) const;
    static QRect HandleRect(int i, const QRect& screenRect);
    void UpdateCanvasSize();
    void CenterCanvas();
    void ShowZoom();
    void ZoomAt(QPoint P, double Z);
    void SetZoom(double Z);
    void StepZoom(int Dir, QPoint P);
    void ZoomIn();
    void ZoomOut();
    void ZoomFit();
    void TogglePreview();
    // Drops the canvas' cached rendering and repaints; every change of the
    // document or of the preview switch goes through here.
    void RepaintCanvas();

    // Canvas editing and undo.
    void SelectElement(TLabelElement* E);
    void AddElement(std::unique_ptr<TLabelElement> E);
    void InsertText();
    void InsertImage();
    void InsertRect();
    void InsertEllipse();
    void InsertLine();
    void InsertCode();
    void DuplicateSelected();
    void DeleteSelected();
    void BringForward();
    void SendBackward();
    void NudgeSelected(int dx, int dy, bool Large);
    void ReplaceImage();
    // Pictures from files, drops and the clipboard (picture_commands.cpp,
    // drop_paste.cpp). A new picture element is centred on At (design
    // dots), or on the label without it; failures show an error box.
    void InsertPictureFile(const QString& File, std::optional<QPoint> At = std::nullopt);
    void InsertPictureImage(const QImage& Img, std::optional<QPoint> At = std::nullopt);
    void InsertTextElement(const QString& Text);
    void DropBackgroundPicture(const QString& File);
    // The page of a PDF document the user wants (asking when it has several),
    // 1 for any other picture, 0 when the choice was cancelled. Raises when
    // the document cannot be opened.
    int ChoosePage(const QString& File);
    // Handle 0..3 of the selection under the paint-box pixel (x, y), or -1.
    int HandleAt(int x, int y) const;
    TEditDrag DragState() const { return FDrag; }
    int UndoCount() const { return FUndo.size(); }
    int RedoCount() const { return FRedo.size(); }
    void PushUndo();
    void PushUndoMerged();
    void Undo();
    void Redo();
    // Empties both histories and the selection: a new label or an opened
    // template starts afresh.
    void ResetEditState();

    // Several elements at once. FSel stays the primary element (the one the
    // properties panel and the handles belong to); the set holds it and the
    // others selected with it.
    std::vector<TLabelElement*> SelectedElements() const;  // in drawing order
    bool IsSelected(const TLabelElement* E) const;
    bool MultiSelected() const;  // more than the primary element
    void SetSelection(const std::vector<TLabelElement*>& Elems, TLabelElement* Primary);
    void ToggleSelected(TLabelElement* E);
    void SelectAll();
    // Enter on the canvas: the text of a selected text element, ready to type.
    void EditSelectedText();

    // Clipboard.
    void CopySelected();
    void CutSelected();
    void PasteElements();
    // What the clipboard holds when it is not our own elements; false when
    // nothing there could be pasted.
    bool PasteFromClipboard(const QMimeData* Data);

    // Alignment, distribution and rotation of the selection.
    // One element aligns to the label, several to each other (Mode: a TAlignMode).
    void AlignSelected(int Mode);
    void AlignSelectedToLabel(int Mode);
    void DistributeSelected(bool Horizontal);
    void CentreSelectionOnLabel();
    void RotateSelected(int Degrees);
    // Snap guides of the drag in progress, in design dots (for painting and tests).
    const std::vector<QLine>& SnapGuides() const { return FGuides; }

    // The canvas context menu of the element commands; the caller owns it.
    QMenu* BuildContextMenu();
    void ShowContextMenu(QPoint At);
    // The toolbar's menu of alignment, distribution and rotation.
    void ShowArrangeMenu();

    // Properties panel.
    void ShowLabelProps();
    void ShowElemProps();
    void LoadBackgrounds();
    void SetOrientation(bool Portrait);

    // Templates panel.
    void LoadTemplates();
    QString SelectedTemplate() const;
    void OpenTemplate(const QString& FileName);
    void NewLabel();
    void SaveLabel();
    void SaveLabelAs();
    void CopyTemplate();
    void RenameTemplate();
    void DeleteTemplate();
    void OpenTemplateFolder();
    // The list and its search field; for tests and the benchmarks.
    TTemplateBrowser* TemplateBrowser() const { return FTemplates; }

    // Printing: connection and status.
    void ApplyPrinterSettings();
    void StartAutoConnect();
    void ScanTimerTimer();
    void ConnectToDevice(TBleDevice* Device);
    void DisconnectPrinter(QObject* Sender);
    void ShowPrinterDialog();
    void StatusBarClick();
    void PrinterDeviceFound(TNimboBle* Sender, TBleDevice* Device, int32_t Rssi);
    void PrinterConnected(TNimboBle* Sender, bool Success, const std::string& Msg);
    void PrinterNotify(TNimboBle* Sender, const std::vector<uint8_t>& Data);
    // Printing: the print command.
    void PrintLabel();
    void SendToPrinter(const TNbMonoImage& Mono, const QString& What);
    void TestPrint(QObject* Sender);
    void PrinterProgress(TNimboBle* Sender, int32_t Sent, int32_t Total);
    void PrinterLog(TNimboBle* Sender, const std::string& Msg);
    void PrinterPrintDone(TNimboBle* Sender, bool Success, const std::string& Msg);
    // Printing: a data merge, every chosen record with the copies of the
    // copies box, in jobs one after another (printing/batch_print.cpp).
    void PrintRecords(const std::vector<int>& Records);
    void CancelBatch();
    bool IsBatchPrinting() const { return FBatch != nullptr; }
    TDataPanel* DataPanel() const { return PnlData; }
    // Read access for tests.
    TNimboBle* Printer() const { return FPrinter.get(); }
    TPrinterSetupForm* PrinterDialog() const { return FPrinterDlg; }
    QTimer* ScanTimer() const { return FScanTimer; }
    TModernButton* PrintButton() const { return BtnPrint; }
    QSpinBox* CopiesBox() const { return SeCopies; }
    bool IsConnected() const { return FConnected; }
    bool IsConnecting() const { return FConnecting; }
    bool IsPrinting() const { return FPrinting; }
    bool IsAutoConnectPending() const { return FAutoConnectPending; }

    // Help.
    void OpenHelp(int StartPage);
    static QString MakerWebAddress();

    // Read access for the other editor files and for tests.
    TLabelDoc& Doc() { return *FDoc; }
    TAppSettings& Settings() { return *FSettings; }
    TLabelElement* Selected() const { return FSel; }
    double Zoom() const { return FZoom; }
    bool Preview() const { return FPreview; }
    TStatusBar* StatusBar() const { return Status; }
    QScrollArea* ScrollBox() const { return Scroll; }
    TPaintBox* Canvas() const { return PaintBox; }
    QComboBox* ZoomBox() const { return CbZoom; }

protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Start-up and shutdown.
    void FormCreate();
    void FormDestroy();
    bool FormCloseQuery();
    void LoadLogo();
    void PlaceWindow();
    void PrepareTemplateFolder();
    void ShowStartupError(const QString& Text);
    // Layout and control factories.
    void BuildLayout();
    void BuildToolbar();
    void BuildTemplatesPanel();
    void BuildPropertiesPanel();
    TModernButton* AddButton(QWidget* Parent, const QString& Caption, bool Compact, const QString& Hint,
                             std::function<void()> OnClick, int& X, int Icon, char16_t Glyph);
    QLabel* AddLabel(QWidget* Parent, const QString& Caption, int Top, int Left);
    QSpinBox* AddSpin(QWidget* Parent, int Left, int Top, int Width, int MinValue, int MaxValue,
                      std::function<void()> OnChange);
    void AddSeparator(QWidget* Parent, int& X);
    // Keys and the application-wide hooks.
    bool FormKeyDown(QKeyEvent* e);
    bool FocusInTextField() const;
    bool FocusOnCanvas() const;
    bool CanvasTab(int Dir);
    bool AppEventsMessage(QObject* watched, QEvent* event);
    bool CbZoomKeyDown(QKeyEvent* e);
    void CbZoomSelect(int index);
    // Canvas painting.
    void PaintBoxPaint(QPainter& p, const QRect& exposed);
    const QImage& CanvasImage();
    QSize CanvasSize() const;
    void BindCanvasMouse();
    // Canvas mouse (editing).
    void PaintBoxMouseDown(QMouseEvent* e);
    void PaintBoxMouseMove(QMouseEvent* e);
    void PaintBoxMouseUp(QMouseEvent* e);
    void PaintBoxDblClick(QMouseEvent* e);
    void SetCanvasCursor(int x, int y);
    void MoveSelectionBy(int32_t dx, int32_t dy, bool Alt);
    void SyncSelection();
    void RestackSelected(int Dir);
    void AddArrangeCommands(QMenu* Menu);
    void SetBoundsOf(const std::vector<TLabelElement*>& Elems, const std::vector<TDotRect>& Bounds);
    std::vector<int> SelectionIndices() const;
    void RestoreSelection(const std::vector<int>& Indices, int Primary);
    void PaintSelection(QPainter& p);
    void ApplyBounds(const std::vector<std::pair<TLabelElement*, TDotRect>>& Bounds);

    // Properties panel.
    void BuildLabelGroup();
    void BuildElemGroups();
    QCheckBox* AddCheck(QWidget* Parent, const QString& Caption, int Left, int Top, int Width,
                        std::function<void()> OnClick);
    TSpinEdit* AddSpinEdit(QWidget* Parent, int Left, int Top, int Width, int MinValue, int MaxValue);
    void LayoutGroups();
    void LabelPropsChanged(QObject* Sender);
    void ElemPropsChanged(QObject* Sender);
    void ShowMultiElemProps();
    void MultiElemPropsChanged(QObject* Sender);
    void CbBgChange();
    void LoadBackgroundPicture(const QString& file);
    void KeepBackgroundCopy(const QString& file);
    void OpenBackgroundFolder();
    void InstallDropTargets();
    bool IsPortrait() const;
    void ShowOrientation();

    uint64_t TickMs() const;

    TDialogs* FDialogs = nullptr;
    std::function<uint64_t()> FTickMs;
    std::unique_ptr<TDialogs> FOwnDialogs;
    std::unique_ptr<TAppSettings> FSettings;
    std::unique_ptr<TLabelDoc> FDoc;
    TLabelElement* FSel = nullptr;
    double FZoom = 2.0;
    bool FPreview = false;
    bool FUpdating = false;
    // Mouse drag on the canvas; every step is computed from the press.
    TEditDrag FDrag = edNone;
    int FDragCorner = 0;
    QPoint FDragStart;
    TDotRect FDragOrig;
    bool FDragMoved = false;
    // Group move: every selected element with its bounds at the press.
    std::vector<std::pair<TLabelElement*, TDotRect>> FDragGroup;
    // Rubber band: the design point the mouse is at now (the other corner is FDragStart).
    QPoint FRubberEnd;
    // A press on an element already in a multi-selection keeps the group for
    // a drag; released without moving, only that element stays selected.
    bool FNarrowOnRelease = false;
    std::vector<QLine> FGuides;
    std::vector<TLabelElement*> FSelSet;
    QStringList FUndo;
    // Undone steps, newest last; a new edit empties it.
    QStringList FRedo;
    uint64_t FLastUndoTick = 0;  // 0: no merge window open
    const TLabelElement* FLastUndoElem = nullptr;  // compared, never dereferenced
    QStringList FBgFiles;
    QImage FLogo;
    bool FClosing = false;
    TDropTargets* FDropTargets = nullptr;  // a child QObject of the window

    // The rendered label at design resolution (and scaled once for zooms
    // below 1), rebuilt only after RepaintCanvas: painting then costs what
    // is visible, not the whole label.
    QImage FCanvasCache;
    QImage FCanvasScaled;
    double FCanvasScaledZoom = 0;

    QWidget* PnlTop = nullptr;
    QWidget* PnlTopRight = nullptr;
    QWidget* PnlLeft = nullptr;
    QWidget* PnlRight = nullptr;
    // The templates list: its rows know their files, so there is no second
    // list of paths to keep in step.
    TTemplateBrowser* FTemplates = nullptr;
    QString FThumbCacheDir;
    QScrollArea* Scroll = nullptr;
    TPaintBox* PaintBox = nullptr;
    TStatusBar* Status = nullptr;
    QComboBox* CbZoom = nullptr;
    TModernButton* BtnPreview = nullptr;
    TModernButton* BtnPortrait = nullptr;
    TModernButton* BtnLandscape = nullptr;
    TModernButton* BtnPrint = nullptr;
    QSpinBox* SeCopies = nullptr;

    // Properties panel: the scroll box, the surface the groups stand on, the
    // five groups and their controls.
    QScrollArea* PropScroll = nullptr;
    QWidget* PropContent = nullptr;
    QWidget* GbLabel = nullptr;
    QWidget* GbElem = nullptr;
    QWidget* GbText = nullptr;
    QWidget* GbImage = nullptr;
    QWidget* GbShape = nullptr;
    TPropsCodeGroup* FCodeGroup = nullptr;
    QWidget* GbCode = nullptr;
    QLineEdit* EdDocName = nullptr;
    QComboBox* CbLength = nullptr;
    TRadioGroup* RgOrient = nullptr;
    QComboBox* CbBg = nullptr;
    QComboBox* CbBgMode = nullptr;
    QLabel* LblLighten = nullptr;
    QSlider* TbLighten = nullptr;
    QCheckBox* ChkBgDither = nullptr;
    QLabel* LblElemTitle = nullptr;
    TSpinEdit* SeX = nullptr;
    TSpinEdit* SeY = nullptr;
    TSpinEdit* SeW = nullptr;
    TSpinEdit* SeH = nullptr;
    // The text of a text element; a double click on the element or inserting
    // one puts the focus here with the whole text selected.
    QPlainTextEdit* MemoText = nullptr;
    QComboBox* CbFont = nullptr;
    TSpinEdit* SeFontSize = nullptr;
    QCheckBox* ChkBold = nullptr;
    QCheckBox* ChkItalic = nullptr;
    QCheckBox* ChkUnderline = nullptr;
    TRadioGroup* RgAlign = nullptr;
    QCheckBox* ChkInvert = nullptr;
    QCheckBox* ChkImgDither = nullptr;
    QCheckBox* ChkKeepAspect = nullptr;
    TSpinEdit* SeLineWidth = nullptr;
    QCheckBox* ChkFilled = nullptr;

    // Printing: the link (freed first at exit, which disconnects), the state
    // of the connection and of a job, the setup dialog while it is shown and
    // the timer that ends the start-up search.
    void CreatePrinterLink();
    void CreateScanTimer();
    TBleManager* FBle = nullptr;
    TTimeSource* FLinkTime = nullptr;
    int FScanTimerMs = 11000;
    std::unique_ptr<TNimboBle> FPrinter;
    bool FConnected = false;
    bool FConnecting = false;
    bool FPrinting = false;
    bool FAutoConnectPending = false;
    TPrinterSetupForm* FPrinterDlg = nullptr;
    QTimer* FScanTimer = nullptr;
    bool FNoPaperShown = false;
    // The shared steps of every print: the checks and status before a job,
    // starting one raster on the link (raises when the link refuses), and a
    // refusal shown. Only the last job of a batch feeds the paper out.
    bool BeginSending(const QString& What);
    void StartPrinterJob(const TNbMonoImage& Mono, bool FeedAfter);
    void SendingRefused(const QString& Msg);
    void BatchJobDone(bool Success, const QString& Msg);
    void BatchProgress(int32_t Sent, int32_t Total);
    void BuildDataPanel();
    TDataPanel* PnlData = nullptr;
    std::unique_ptr<TBatchRun> FBatch;
};
