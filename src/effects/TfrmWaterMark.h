#pragma once

#include "effects/TWmItemRec.h"
#include "media/Bitmap24.h"

#include <QDialog>
#include <QImage>

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

class Dialogs;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFontComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSlider;
class QSpinBox;
class QTabWidget;
class QToolButton;
class QWidget;
class TFFPlayer;
class TTrackBar2;
class WmLayer;
class WmLayerView;
struct TlvFilesRecord;

// The watermark and effect window of one source file: text and image items
// placed over a live preview, their opacity and time range, and the picture
// effects. OK writes the items and effects into the file's record; Cancel and
// closing write nothing.
class TfrmWaterMark : public QDialog {
    Q_OBJECT
public:
    TfrmWaterMark(QWidget* owner, TlvFilesRecord& record, Dialogs& dialogs);
    ~TfrmWaterMark() override;

    // Watermark page.
    void btnAddTextClick();
    void btnAddImageClick();
    void btnDeleteClick();
    void btnUpClick();
    void btnDownClick();
    void lsboxClick();
    void lsboxDblClick();
    void edt1Change();
    void edt1Exit();
    void trcTextHorizChange();
    void trcTextVertChange();
    void trcTextTranChange();
    void trcRangeChange();
    void btnStartUp1Click();
    void btnStartUpStartDownClick();
    void btnStartUpEndUpClick();
    void btnStartUpEndDownClick();
    void suiFontCmbChange();
    void suiFontSizeCmbChange();
    void suiColorBoxcmbChange();
    void suiColorBoxbackgroundChange();
    void StyleBoxClick(int member, bool checked);
    void rb1Click();
    void rb2Click();
    void ImgViewEmptyClick();
    void ImgViewLayerClick(WmLayer* layer);
    void ImgViewMouseMove();
    // Effect page.
    void EffectSliderChange();
    void btnResetClick();
    // Window.
    void suiPageControl1Change(int page);
    void playClick();
    void pauseClick();
    void trcPreviewRelease();
    void btnHelpClick();
    void btnOkClick();
    void btnCancelClick();

    // The item model.
    void SelectLayer(WmLayer* layer);
    void DeleteSelectedLayer();
    void AddText();
    void RebuildTextLayer(const QString& text, const QString& fontName, int style, const QColor& color,
                          const QColor& boxColor, int size);
    // The list entry (and its item) of row i.
    TWmItemRec* Entry(int row) const;
    int EntryCount() const { return int(entries_.size()); }
    int EntryOfLayer(const WmLayer* layer) const;

    // Player events.
    void FFPlayerFileOpen(int64_t ADuration, int AFrameWidth, int AFrameHeight, int& AScreenWidth, int& AScreenHeight);
    // Decoding thread.
    void FFPlayerHook(Bitmap24& ABitmap, int64_t APTS);
    void FFPlayerPosition(int64_t APTS);
    void FFPlayerState(int AState);

    // The latest frame delivered, before any drawing (copied).
    Bitmap24 FrameBitmapCopy() const;
    bool HasFrameBitmap() const;

    // Controls.
    QTabWidget* suiPageControl1;
    QWidget* suiTabSheet1;
    QWidget* suiTabSheet3;
    QPushButton* btnAddText;
    QPushButton* btnAddImage;
    QPushButton* btnDelete;
    QPushButton* btnUp;
    QPushButton* btnDown;
    QListWidget* lsbox;
    QLineEdit* edt1;
    QSlider* trcTextHoriz;
    QLineEdit* edtTextHoriz;
    QSlider* trcTextVert;
    QLineEdit* edtTextVert;
    QSlider* trcTextTran;
    QLineEdit* edtTextTran;
    // Hidden: the relay between "Transparency" and the selected layer's master alpha.
    QProgressBar* LayerOpacity;
    TTrackBar2* trcRange;
    QLineEdit* edtStart;
    QLineEdit* edtEnd;
    QToolButton* btnStartUp1;
    QToolButton* btnStartUpStartDown;
    QToolButton* btnStartUpEndUp;
    QToolButton* btnStartUpEndDown;
    QRadioButton* rb1;
    QRadioButton* rb2;
    QComboBox* suiColorBoxbackground;
    QComboBox* suiColorBoxcmb;
    QFontComboBox* suiFontCmb;
    QComboBox* suiFontSizeCmb;
    QCheckBox* ckBold;
    QCheckBox* ckItalic;
    QCheckBox* ckUnderline;
    QCheckBox* ckStrikeout;
    QSlider* trcBrightness;
    QSpinBox* spedtBrightness;
    QSlider* trcContrast;
    QSpinBox* spedtContrast;
    QSlider* trcSaturation;
    QSpinBox* spedtSaturation;
    QSlider* trcExposure;
    QSpinBox* spedtExposure;
    QSlider* trcAutoadjust;
    QSpinBox* spedtAutoadjust;
    QPushButton* btnReset;
    QCheckBox* chkProcessText;
    QCheckBox* chkProcessImage;
    QRadioButton* rbAudioadjust;
    WmLayerView* ImgView;
    QWidget* imgPreview;
    QLabel* lblPTS;
    QLabel* lblLength;
    QToolButton* btnPlay;
    QToolButton* btnPause;
    QSlider* trcPreview;
    QPushButton* btnHelp;
    QPushButton* btnOk;
    QPushButton* btnCancel;
    TFFPlayer* FFPlayer;

    int64_t Duration = 0;
    int EditIndex = -1;
    // Shared with the player's frame hook; taken by test-and-set.
    std::atomic_flag HookBusy;

protected:
    void showEvent(QShowEvent* event) override;
    // OK, Cancel and closing by any means end here: the player stops and
    // the items of this showing are dropped.
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormShow();
    void BuildWatermarkPage();
    void BuildEffectPage();
    void BuildPreview(QWidget* parent);
    // The user-interface side of HookBusy: waits, handling window messages.
    void TakeHookBusy();
    void ReleaseHookBusy();
    void SyncHookRanges();
    void ApplyHandover();
    void RenderStill();
    void LoadEntryControls(int row);
    void SetRangeOfEntry(TWmItemRec& entry);
    void ShowRange(const TWmItemRec& entry);
    void WriteBack();
    void Restore();
    void CloseWindow(bool resumeFirst);
    void ShowEditor(int row);
    QImage TextBitmap(const QString& text, const QFont& font, const QColor& color, bool opaque, const QColor& box,
                      QSize size = {}) const;
    WmLayer* NewLayer(const QImage& bitmap, int tag, int index = -1);
    QColor BoxColor(const QComboBox* box) const;
    void SetBoxColor(QComboBox* box, const QColor& color);
    QFont CurrentFont(int style) const;
    int CurrentFontSize() const;

    TlvFilesRecord& record_;
    Dialogs& dialogs_;
    std::vector<std::unique_ptr<TWmItemRec>> entries_; // in list order
    bool shown_ = false;
    bool closed_ = false;
    bool loadingControls_ = false;

    // Shared with the hook.
    mutable std::mutex frameMutex_;
    Bitmap24 frameBitmap_;
    bool haveFrame_ = false;
    std::vector<std::pair<int32_t, int32_t>> hookRanges_; // under HookBusy
    std::atomic<bool> viewVisible_{true};
    std::atomic<int> brightness_{255}, contrast_{0}, saturation_{255}, exposure_{0};
    std::mutex handoverMutex_;
    QImage handoverFrame_;
    std::vector<bool> handoverVisible_;
    bool handoverPosted_ = false;
    int cropTop_ = 0, cropLeft_ = 0, cropBottom_ = 0, cropRight_ = 0;
};
