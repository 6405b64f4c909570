#include "effects/TfrmWaterMark.h"

#include "effects/FrameCompositing.h"
#include "effects/FrameEffects.h"
#include "effects/WaterMarkHelpers.h"
#include "effects/WmGraphics.h"
#include "effects/WmLayerView.h"
#include "media/TAVProbe.h"
#include "media/player/TFFPlayer.h"
#include "platform/Dialogs.h"
#include "platform/ShellActions.h"
#include "platform/Themes.h"
#include "shell/GlobalObject.h"
#include "shell/TextHelpers.h"
#include "shell/TlvFilesRecord.h"
#include "tools/Tracker2.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFontComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QThread>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

namespace {

// Round to nearest, ties to even.
int RoundEven(double v)
{
    return int(std::lrint(v));
}

QPixmap ItemIcon(int kind)
{
    QPixmap icon(16, 16);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);
    if (kind == TWmRec::kText) {
        QFont font(QStringLiteral("DejaVu Serif"));
        font.setPixelSize(15);
        font.setBold(true);
        p.setFont(font);
        p.setPen(QColor(40, 70, 160));
        p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, QStringLiteral("T"));
    } else {
        p.setPen(QColor(60, 60, 60));
        p.setBrush(QColor(170, 210, 240));
        p.drawRect(1, 2, 13, 11);
        p.setBrush(QColor(70, 150, 70));
        p.drawPolygon(QPolygon({QPoint(2, 12), QPoint(6, 6), QPoint(9, 10), QPoint(11, 8), QPoint(14, 12)}));
    }
    return icon;
}

// Rows of the item list: a focus box in the window's blues, the kind's icon
// and the text cut with an ellipsis.
class ItemListDelegate : public QStyledItemDelegate {
public:
    ItemListDelegate(QListWidget* list, std::function<int(int)> kindOfRow)
        : QStyledItemDelegate(list), list_(list), kindOfRow_(std::move(kindOfRow))
    {
        icons_[0] = ItemIcon(TWmRec::kText);
        icons_[1] = ItemIcon(TWmRec::kImage);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override
    {
        return QSize(option.rect.width(), 24);
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QRect r = option.rect;
        const bool selected = option.state & QStyle::State_Selected;
        if (selected && list_->hasFocus()) {
            QRect inner = r.adjusted(2, 2, -2, -2);
            painter->fillRect(inner, QColor(185, 204, 236));
            inner.adjust(-1, -1, 1, 1);
            painter->setPen(QColor(122, 160, 218));
            painter->drawRect(inner.adjusted(0, 0, -1, -1));
        } else {
            painter->fillRect(r, selected ? QColor(229, 236, 248) : QColor(246, 247, 248));
        }
        r.adjust(3, 0, -3, 0);
        const QPixmap& icon = icons_[kindOfRow_(index.row()) == TWmRec::kImage ? 1 : 0];
        painter->drawPixmap(r.left() + 1, r.top() + 1 + (24 - icon.height()) / 2, icon);
        const QRect textRect = r.adjusted(19, 0, 0, 0);
        const QString text =
            option.fontMetrics.elidedText(index.data().toString(), Qt::ElideRight, textRect.width());
        painter->setPen(Qt::black);
        painter->drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, text);
    }

private:
    QListWidget* list_;
    std::function<int(int)> kindOfRow_;
    QPixmap icons_[2];
};

QComboBox* MakeColorBox(QWidget* parent)
{
    auto* box = new QComboBox(parent);
    for (const auto& [name, color] : ColorBoxColors()) {
        QPixmap swatch(14, 14);
        swatch.fill(color);
        box->addItem(QIcon(swatch), name, color);
    }
    return box;
}

QSlider* MakeSlider(QWidget* parent, int low, int high)
{
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setRange(low, high);
    return slider;
}

QLineEdit* MakeReadOnlyBox(QWidget* parent, int width = 46)
{
    auto* box = new QLineEdit(parent);
    box->setReadOnly(true);
    box->setFixedWidth(width);
    return box;
}

QToolButton* MakeArrow(QWidget* parent, Qt::ArrowType arrow)
{
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setFixedSize(18, 11);
    return button;
}

} // namespace

TfrmWaterMark::TfrmWaterMark(QWidget* owner, TlvFilesRecord& record, Dialogs& dialogs)
    : QDialog(owner), record_(record), dialogs_(dialogs)
{
    HookBusy.clear();
    setWindowTitle(QStringLiteral("Water Mark"));
    setObjectName(QStringLiteral("frmWaterMark"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setAttribute(Qt::WA_DeleteOnClose, false);
    setModal(true);

    suiPageControl1 = new QTabWidget(this);
    suiTabSheet1 = new QWidget;
    suiTabSheet3 = new QWidget;
    suiPageControl1->addTab(suiTabSheet1, QStringLiteral("Watermark"));
    suiPageControl1->addTab(suiTabSheet3, QStringLiteral("Effect"));
    suiPageControl1->setFixedWidth(308);
    BuildWatermarkPage();
    BuildEffectPage();

    auto* previewGroup = new QGroupBox(QStringLiteral("Source Preview"), this);
    BuildPreview(previewGroup);

    btnHelp = new QPushButton(QStringLiteral("&Help"), this);
    btnOk = new QPushButton(QStringLiteral("&Ok"), this);
    btnCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    btnOk->setDefault(true);

    auto* top = new QHBoxLayout;
    top->addWidget(suiPageControl1);
    top->addWidget(previewGroup, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(btnHelp);
    bottom->addStretch(1);
    bottom->addWidget(btnOk);
    bottom->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(4);
    top->setSpacing(4);
    layout->addLayout(top, 1);
    layout->addLayout(bottom);

    connect(suiPageControl1, &QTabWidget::currentChanged, this, &TfrmWaterMark::suiPageControl1Change);
    connect(btnHelp, &QPushButton::clicked, this, &TfrmWaterMark::btnHelpClick);
    connect(btnOk, &QPushButton::clicked, this, &TfrmWaterMark::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &TfrmWaterMark::btnCancelClick);

    FFPlayer = new TFFPlayer(this);
    FFPlayer->OnFileOpen = [this](int64_t d, int w, int h, int& sw, int& sh) { FFPlayerFileOpen(d, w, h, sw, sh); };
    FFPlayer->OnPosition = [this](int64_t pts) { FFPlayerPosition(pts); };
    FFPlayer->OnState = [this](TPlayState state) { FFPlayerState(int(state)); };
    FFPlayer->SetOnHook([this](Bitmap24& bitmap, int64_t pts) { FFPlayerHook(bitmap, pts); });
}

TfrmWaterMark::~TfrmWaterMark()
{
    FFPlayer->SetHook(false);
    FFPlayer->SetOnHook(nullptr); // waits for a hook call in progress
    FFPlayer->ClosePlayback(true);
}

void TfrmWaterMark::BuildWatermarkPage()
{
    QWidget* page = suiTabSheet1;
    btnAddText = new QPushButton(QStringLiteral("Add Text"), page);
    btnAddImage = new QPushButton(QStringLiteral("Add Image"), page);
    btnDelete = new QPushButton(QStringLiteral("Delete"), page);
    btnUp = new QPushButton(QStringLiteral("Up"), page);
    btnDown = new QPushButton(QStringLiteral("Down"), page);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(2);
    for (QPushButton* b : {btnAddText, btnAddImage, btnDelete, btnUp, btnDown}) {
        b->setAutoDefault(false);
        b->setStyleSheet(QStringLiteral("padding: 3px 2px;"));
        buttons->addWidget(b, b == btnUp || b == btnDown ? 0 : 1);
    }

    lsbox = new QListWidget(page);
    lsbox->setObjectName(QStringLiteral("lsbox"));
    lsbox->setItemDelegate(new ItemListDelegate(lsbox, [this](int row) {
        const TWmItemRec* entry = Entry(row);
        return entry ? entry->Kind : TWmRec::kText;
    }));
    lsbox->setFixedHeight(24 * 3 + 4);
    lsbox->setEditTriggers(QAbstractItemView::NoEditTriggers);
    edt1 = new QLineEdit(lsbox->viewport());
    edt1->hide();
    edt1->installEventFilter(this);

    trcTextHoriz = MakeSlider(page, 0, 100);
    trcTextVert = MakeSlider(page, 0, 100);
    trcTextTran = MakeSlider(page, 0, 255);
    edtTextHoriz = MakeReadOnlyBox(page);
    edtTextVert = MakeReadOnlyBox(page);
    edtTextTran = MakeReadOnlyBox(page);
    LayerOpacity = new QProgressBar(page);
    LayerOpacity->setRange(0, 255);
    LayerOpacity->hide();
    trcTextHoriz->setEnabled(false);
    trcTextVert->setEnabled(false);

    trcRange = new TTrackBar2(page);
    trcRange->SetSecondThumb(true);
    trcRange->SetMax(20);
    trcRange->SetThumbSize(12);
    trcRange->SetTickInterval(0);
    trcRange->setFixedHeight(22);
    trcRange->resize(280, 24);
    edtStart = MakeReadOnlyBox(page, 70);
    edtEnd = MakeReadOnlyBox(page, 70);
    btnStartUp1 = MakeArrow(page, Qt::UpArrow);
    btnStartUpStartDown = MakeArrow(page, Qt::DownArrow);
    btnStartUpEndUp = MakeArrow(page, Qt::UpArrow);
    btnStartUpEndDown = MakeArrow(page, Qt::DownArrow);

    auto* background = new QGroupBox(QStringLiteral("Font background color"), page);
    rb1 = new QRadioButton(QStringLiteral("Background color"), background);
    rb2 = new QRadioButton(QStringLiteral("Transparent"), background);
    suiColorBoxbackground = MakeColorBox(background);
    auto* bg = new QGridLayout(background);
    bg->setContentsMargins(6, 2, 6, 4);
    bg->setVerticalSpacing(2);
    bg->addWidget(rb1, 0, 0);
    bg->addWidget(suiColorBoxbackground, 0, 1);
    bg->addWidget(rb2, 1, 0);

    suiColorBoxcmb = MakeColorBox(page);
    suiFontCmb = new QFontComboBox(page);
    suiFontSizeCmb = new QComboBox(page);
    ckBold = new QCheckBox(QStringLiteral("Bold"), page);
    ckItalic = new QCheckBox(QStringLiteral("Italic"), page);
    ckUnderline = new QCheckBox(QStringLiteral("Underline"), page);
    ckStrikeout = new QCheckBox(QStringLiteral("Strikeout"), page);

    auto* grid = new QGridLayout;
    grid->setVerticalSpacing(0);
    int row = 0;
    const auto addSlider = [&](const QString& caption, QSlider* slider, QLineEdit* box) {
        grid->addWidget(new QLabel(caption, page), row++, 0, 1, 2);
        grid->addWidget(slider, row, 0);
        box->setFixedHeight(20);
        grid->addWidget(box, row++, 1);
    };
    addSlider(QStringLiteral("Horizontal Position:"), trcTextHoriz, edtTextHoriz);
    addSlider(QStringLiteral("Vertical Position:"), trcTextVert, edtTextVert);
    addSlider(QStringLiteral("Transparency:"), trcTextTran, edtTextTran);

    auto* period = new QLabel(QStringLiteral("Set the period of time when a watermark will be \nshow in the video"), page);

    const auto timeRow = [&](const QString& caption, QLineEdit* box, QToolButton* up, QToolButton* down) {
        auto* h = new QHBoxLayout;
        auto* label = new QLabel(caption, page);
        label->setFixedWidth(70);
        h->addWidget(label);
        h->addWidget(box);
        auto* arrows = new QVBoxLayout;
        arrows->setSpacing(0);
        arrows->addWidget(up);
        arrows->addWidget(down);
        h->addLayout(arrows);
        h->addStretch(1);
        return h;
    };

    auto* font = new QGridLayout;
    font->setVerticalSpacing(1);
    font->addWidget(new QLabel(QStringLiteral("Font Color:"), page), 0, 0);
    font->addWidget(suiColorBoxcmb, 0, 1);
    font->addWidget(new QLabel(QStringLiteral("Font:"), page), 1, 0);
    font->addWidget(suiFontCmb, 1, 1);
    font->addWidget(new QLabel(QStringLiteral("Font Size:"), page), 2, 0);
    font->addWidget(suiFontSizeCmb, 2, 1, Qt::AlignLeft);
    font->addWidget(new QLabel(QStringLiteral("Font Style:"), page), 3, 0);
    auto* styles = new QHBoxLayout;
    styles->setSpacing(2);
    for (QCheckBox* box : {ckBold, ckItalic, ckUnderline, ckStrikeout}) styles->addWidget(box);
    font->addLayout(styles, 4, 0, 1, 2);
    suiFontCmb->setMaximumWidth(200);
    suiFontSizeCmb->setMinimumWidth(64);

    auto* v = new QVBoxLayout(page);
    v->setContentsMargins(6, 4, 6, 4);
    v->setSpacing(2);
    v->addLayout(buttons);
    v->addWidget(lsbox);
    v->addLayout(grid);
    v->addWidget(period);
    v->addWidget(trcRange);
    v->addLayout(timeRow(QStringLiteral("Start time:"), edtStart, btnStartUp1, btnStartUpStartDown));
    v->addLayout(timeRow(QStringLiteral("End Time:"), edtEnd, btnStartUpEndUp, btnStartUpEndDown));
    v->addWidget(background);
    v->addLayout(font);
    v->addStretch(1);

    connect(btnAddText, &QPushButton::clicked, this, &TfrmWaterMark::btnAddTextClick);
    connect(btnAddImage, &QPushButton::clicked, this, &TfrmWaterMark::btnAddImageClick);
    connect(btnDelete, &QPushButton::clicked, this, &TfrmWaterMark::btnDeleteClick);
    connect(btnUp, &QPushButton::clicked, this, &TfrmWaterMark::btnUpClick);
    connect(btnDown, &QPushButton::clicked, this, &TfrmWaterMark::btnDownClick);
    connect(lsbox, &QListWidget::itemClicked, this, [this] { lsboxClick(); });
    connect(lsbox, &QListWidget::itemDoubleClicked, this, [this] { lsboxDblClick(); });
    connect(edt1, &QLineEdit::textEdited, this, &TfrmWaterMark::edt1Change);
    connect(trcTextHoriz, &QSlider::valueChanged, this, &TfrmWaterMark::trcTextHorizChange);
    connect(trcTextVert, &QSlider::valueChanged, this, &TfrmWaterMark::trcTextVertChange);
    connect(trcTextTran, &QSlider::valueChanged, this, &TfrmWaterMark::trcTextTranChange);
    trcRange->OnChange = [this](TTrackBar2*) { trcRangeChange(); };
    connect(btnStartUp1, &QToolButton::clicked, this, &TfrmWaterMark::btnStartUp1Click);
    connect(btnStartUpStartDown, &QToolButton::clicked, this, &TfrmWaterMark::btnStartUpStartDownClick);
    connect(btnStartUpEndUp, &QToolButton::clicked, this, &TfrmWaterMark::btnStartUpEndUpClick);
    connect(btnStartUpEndDown, &QToolButton::clicked, this, &TfrmWaterMark::btnStartUpEndDownClick);
    connect(suiFontCmb, &QFontComboBox::currentFontChanged, this, &TfrmWaterMark::suiFontCmbChange);
    connect(suiFontSizeCmb, &QComboBox::currentIndexChanged, this, &TfrmWaterMark::suiFontSizeCmbChange);
    connect(suiColorBoxcmb, &QComboBox::currentIndexChanged, this, &TfrmWaterMark::suiColorBoxcmbChange);
    connect(suiColorBoxbackground, &QComboBox::currentIndexChanged, this, &TfrmWaterMark::suiColorBoxbackgroundChange);
    const std::pair<QCheckBox*, int> styleBoxes[] = {
        {ckBold, kFontBold}, {ckItalic, kFontItalic}, {ckUnderline, kFontUnderline}, {ckStrikeout, kFontStrikeout}};
    for (auto [box, member] : styleBoxes)
        connect(box, &QCheckBox::toggled, this, [this, member = member](bool on) { StyleBoxClick(member, on); });
    connect(rb1, &QRadioButton::toggled, this, [this](bool on) {
        if (on) rb1Click();
    });
    connect(rb2, &QRadioButton::toggled, this, [this](bool on) {
        if (on) rb2Click();
    });
}

void TfrmWaterMark::BuildEffectPage()
{
    QWidget* page = suiTabSheet3;
    auto* grid = new QGridLayout;
    const auto addRow = [&](int row, const QString& caption, QSlider*& slider, QSpinBox*& spin, int low, int high) {
        slider = MakeSlider(page, low, high);
        spin = new QSpinBox(page);
        spin->setRange(low, high);
        spin->setSingleStep(1);
        grid->addWidget(new QLabel(caption, page), row * 2, 0, 1, 2);
        grid->addWidget(slider, row * 2 + 1, 0);
        grid->addWidget(spin, row * 2 + 1, 1);
        connect(slider, &QSlider::valueChanged, spin, [spin](int value) { spin->setValue(value); });
        connect(spin, &QSpinBox::valueChanged, slider, [slider](int value) { slider->setValue(value); });
    };
    addRow(0, QStringLiteral("Brightness:"), trcBrightness, spedtBrightness, 0, 512);
    addRow(1, QStringLiteral("Contrast:"), trcContrast, spedtContrast, -100, 100);
    addRow(2, QStringLiteral("Saturation:"), trcSaturation, spedtSaturation, 0, 512);
    addRow(3, QStringLiteral("Exposure:"), trcExposure, spedtExposure, -255, 512);
    addRow(4, QStringLiteral("Auto adjust:"), trcAutoadjust, spedtAutoadjust, 0, 10);
    for (QWidget* hidden : {static_cast<QWidget*>(trcAutoadjust), static_cast<QWidget*>(spedtAutoadjust),
                            grid->itemAtPosition(8, 0)->widget()})
        hidden->hide();
    for (QSlider* s : {trcBrightness, trcContrast, trcSaturation, trcExposure})
        connect(s, &QSlider::valueChanged, this, &TfrmWaterMark::EffectSliderChange);

    btnReset = new QPushButton(QStringLiteral("Reset"), page);
    btnReset->setAutoDefault(false);
    chkProcessText = new QCheckBox(QStringLiteral("Process  Added Text"), page);
    chkProcessImage = new QCheckBox(QStringLiteral("Process  Added Image"), page);
    rbAudioadjust = new QRadioButton(QStringLiteral("Audio adjust"), page);
    chkProcessText->hide();
    chkProcessImage->hide();
    rbAudioadjust->hide();
    connect(btnReset, &QPushButton::clicked, this, &TfrmWaterMark::btnResetClick);

    auto* v = new QVBoxLayout(page);
    v->addLayout(grid);
    v->addWidget(btnReset, 0, Qt::AlignLeft);
    v->addStretch(1);
    // Shown but not editable: the values come from the file.
    page->setEnabled(false);
}

void TfrmWaterMark::BuildPreview(QWidget* group)
{
    auto* stage = new QWidget(group);
    stage->setFixedSize(440, 330);
    imgPreview = new QWidget(stage);
    imgPreview->setObjectName(QStringLiteral("imgPreview"));
    imgPreview->setGeometry(0, 0, 440, 330);
    imgPreview->setAutoFillBackground(true);
    QPalette black = imgPreview->palette();
    black.setColor(QPalette::Window, Qt::black);
    imgPreview->setPalette(black);
    imgPreview->hide();
    ImgView = new WmLayerView(stage);
    ImgView->setObjectName(QStringLiteral("ImgView"));
    ImgView->setGeometry(0, 0, 440, 330);
    connect(ImgView, &WmLayerView::emptyClicked, this, &TfrmWaterMark::ImgViewEmptyClick);
    connect(ImgView, &WmLayerView::layerClicked, this, &TfrmWaterMark::ImgViewLayerClick);
    connect(ImgView, &WmLayerView::mouseMovedOver, this, &TfrmWaterMark::ImgViewMouseMove);

    lblPTS = new QLabel(QStringLiteral("Play Time"), group);
    lblLength = new QLabel(QStringLiteral("Length"), group);
    btnPlay = new QToolButton(group);
    btnPlay->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
    btnPlay->setToolTip(QStringLiteral("play"));
    btnPause = new QToolButton(group);
    btnPause->setIcon(style()->standardIcon(QStyle::SP_MediaPause));
    btnPause->setToolTip(QStringLiteral("pause"));
    trcPreview = new QSlider(Qt::Horizontal, group);
    trcPreview->setObjectName(QStringLiteral("trcPreview"));
    trcPreview->setTickPosition(QSlider::NoTicks);
    trcPreview->installEventFilter(this);

    auto* controls = new QHBoxLayout;
    controls->addWidget(btnPlay);
    controls->addWidget(btnPause);
    controls->addWidget(trcPreview, 1);
    auto* labels = new QHBoxLayout;
    labels->addWidget(lblPTS);
    labels->addStretch(1);
    labels->addWidget(lblLength);
    auto* v = new QVBoxLayout(group);
    v->setContentsMargins(6, 6, 6, 6);
    v->addWidget(stage, 0, Qt::AlignHCenter);
    v->addLayout(labels);
    v->addLayout(controls);
    v->addStretch(1);

    connect(btnPlay, &QToolButton::clicked, this, &TfrmWaterMark::playClick);
    connect(btnPause, &QToolButton::clicked, this, &TfrmWaterMark::pauseClick);
}

void TfrmWaterMark::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (shown_) return;
    shown_ = true;
    FormShow();
}

void TfrmWaterMark::FormShow()
{
    resize(786, 605);
    HookBusy.clear();
    ApplyCurrentTheme(this);
    suiPageControl1->setCurrentIndex(0);
    suiPageControl1Change(0);

    trcTextHoriz->setRange(0, 100);
    trcTextVert->setRange(0, 100);
    for (QSpinBox* spin : {spedtBrightness, spedtContrast, spedtSaturation, spedtExposure, spedtAutoadjust})
        spin->findChild<QLineEdit*>()->setReadOnly(true); // arrows only

    for (int size = 7; size <= 70; ++size) suiFontSizeCmb->addItem(QString::number(size));
    trcBrightness->setValue(record_.Brightness);
    trcContrast->setValue(record_.Contrast);
    trcSaturation->setValue(record_.Saturation);
    trcExposure->setValue(record_.Exposure);
    chkProcessText->setChecked(record_.ProcessText);
    chkProcessImage->setChecked(record_.ProcessImage);
    cropTop_ = record_.CropTop, cropLeft_ = record_.CropLeft;
    cropBottom_ = record_.CropBottom, cropRight_ = record_.CropRight;

    suiFontCmb->setCurrentIndex(0);
    suiFontSizeCmb->setCurrentIndex(19);
    suiColorBoxcmb->setCurrentIndex(12);
    suiColorBoxbackground->setCurrentIndex(2);
    trcTextTran->setValue(125);
    trcTextTranChange();
    rb1->setChecked(true);

    // The stream's own length, until the player reports the file's.
    TAVProbe probe;
    QSize frameSize;
    if (probe.LoadFile(record_.SourceFile) && probe.StreamCount() > 0 &&
        probe.IsVideoStream(probe.DefaultVideoStream())) {
        TVideoStreamInfo info;
        if (probe.GetVideoStreamInfo(-1, info)) {
            if (info.Duration > 0) Duration = info.Duration;
            frameSize = QSize(info.Width, info.Height);
        }
    }

    setWindowTitle(WaterMarkCaption(record_.SourceFile));

    bool playing = false;
    if (TFFPlayer::LibrariesLoaded() || TFFPlayer::LoadLibraries(QApplication::applicationDirPath() + "/LibAV"))
        playing = FFPlayer->OpenAndPlay(record_.SourceFile, imgPreview);
    if (playing) {
        btnPlay->setEnabled(false);
        btnPause->setEnabled(true);
    } else {
        // Without a preview the items must still be there, or OK would store
        // an empty list over the file's items.
        if (frameSize.isValid() && !frameSize.isEmpty()) {
            QImage black(frameSize, QImage::Format_RGB888);
            black.fill(Qt::black);
            ImgView->SetFrame(black);
        }
        Restore();
    }
}

void TfrmWaterMark::suiPageControl1Change(int page)
{
    const bool watermark = page == 0;
    ImgView->setVisible(watermark);
    imgPreview->setVisible(!watermark);
    viewVisible_ = watermark;
    if (watermark) ImgView->raise();
}

// ---- Busy flag -------------------------------------------------------------

void TfrmWaterMark::TakeHookBusy()
{
    while (HookBusy.test_and_set(std::memory_order_acquire)) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        QThread::msleep(1);
    }
}

void TfrmWaterMark::ReleaseHookBusy()
{
    HookBusy.clear(std::memory_order_release);
}

void TfrmWaterMark::SyncHookRanges()
{
    TakeHookBusy();
    hookRanges_.clear();
    for (const auto& entry : entries_) hookRanges_.push_back({entry->StartTime, entry->EndTime});
    ReleaseHookBusy();
}

// ---- Player ------------------------------------------------------------------

void TfrmWaterMark::FFPlayerFileOpen(int64_t ADuration, int AFrameWidth, int AFrameHeight, int& AScreenWidth,
                                     int& AScreenHeight)
{
    AScreenWidth = 440;
    AScreenHeight = 330;
    FFPlayer->SetHook(false);
    Duration = ADuration;
    lblLength->setText(QStringLiteral("Duration:    ") + FormatTimestamp(ADuration));
    lblPTS->setText(QStringLiteral("0.0"));
    trcRange->SetMin(0);
    trcRange->SetMax(int(ADuration / 1000000));
    trcRange->SetPositionL(0);
    trcRange->SetPositionU(trcRange->Max());
    trcPreview->setMaximum(std::max(1, trcPreview->width()));
    trcPreview->setValue(0);
    trcPreview->setEnabled(ADuration > 0);
    if (AFrameWidth > 0 && AFrameHeight > 0) {
        trcTextHoriz->setRange(0, AFrameWidth);
        trcTextVert->setRange(0, AFrameHeight);
        if (ImgView->FrameSize() != QSize(AFrameWidth, AFrameHeight)) {
            QImage black(AFrameWidth, AFrameHeight, QImage::Format_RGB888);
            black.fill(Qt::black);
            ImgView->SetFrame(black);
        }
    }
    Restore();
    FFPlayer->SetHook(true);
}

void TfrmWaterMark::FFPlayerHook(Bitmap24& ABitmap, int64_t APTS)
{
    {
        std::lock_guard lock(frameMutex_);
        frameBitmap_ = ABitmap;
        haveFrame_ = true;
    }
    std::vector<bool> visible;
    if (viewVisible_) {
        for (size_t i = 0;; ++i) {
            while (HookBusy.test_and_set(std::memory_order_acquire)) QThread::msleep(1);
            const bool more = i < hookRanges_.size();
            if (more) {
                TWmRec range;
                range.StartTime = hookRanges_[i].first;
                range.EndTime = hookRanges_[i].second;
                visible.push_back(ItemVisibleAt(range, APTS));
            }
            HookBusy.clear(std::memory_order_release);
            if (!more) break;
        }
    }
    DrawCropOutline(ABitmap, cropTop_, cropLeft_, cropBottom_, cropRight_);
    const int b = brightness_, c = contrast_, s = saturation_, e = exposure_;
    if (EffectsAreActive(b, c, s, e)) ApplyColorAdjustAndExposure(ABitmap, b, c, s, float(e));

    // The view belongs to the window's thread: hand the picture over.
    std::lock_guard lock(handoverMutex_);
    handoverFrame_ = ImageFromBitmap(ABitmap);
    handoverVisible_ = std::move(visible);
    if (!handoverPosted_) {
        handoverPosted_ = true;
        QMetaObject::invokeMethod(this, [this] { ApplyHandover(); }, Qt::QueuedConnection);
    }
}

void TfrmWaterMark::ApplyHandover()
{
    QImage frame;
    std::vector<bool> visible;
    {
        std::lock_guard lock(handoverMutex_);
        handoverPosted_ = false;
        frame = std::move(handoverFrame_);
        visible = std::move(handoverVisible_);
    }
    if (closed_ || frame.isNull()) return;
    ImgView->SetFrame(frame);
    for (size_t i = 0; i < visible.size() && i < entries_.size(); ++i)
        if (WmLayer* layer = entries_[i]->Layer) layer->setVisible(visible[i]);
}

void TfrmWaterMark::FFPlayerPosition(int64_t APTS)
{
    lblPTS->setText(QStringLiteral("Time:    ") + FormatTimestamp(APTS));
}

void TfrmWaterMark::FFPlayerState(int AState)
{
    if (AState != psEnd) return;
    trcPreview->setValue(0);
    FFPlayer->SeekTo(TFFPlayer::kSeekAnyFrame, false, 0);
    FFPlayer->PausePlayback();
    btnPlay->setEnabled(true);
    btnPause->setEnabled(false);
    trcPreview->setEnabled(false);
    std::lock_guard lock(frameMutex_);
    frameBitmap_ = Bitmap24();
    haveFrame_ = false;
}

Bitmap24 TfrmWaterMark::FrameBitmapCopy() const
{
    std::lock_guard lock(frameMutex_);
    return frameBitmap_;
}

bool TfrmWaterMark::HasFrameBitmap() const
{
    std::lock_guard lock(frameMutex_);
    return haveFrame_;
}

void TfrmWaterMark::playClick()
{
    TakeHookBusy();
    FFPlayer->ResumePlayback();
    btnPlay->setEnabled(false);
    btnPause->setEnabled(true);
    trcPreview->setEnabled(true);
    ReleaseHookBusy();
}

void TfrmWaterMark::pauseClick()
{
    TakeHookBusy();
    FFPlayer->PausePlayback();
    btnPlay->setEnabled(true);
    btnPause->setEnabled(false);
    trcPreview->setEnabled(true);
    ReleaseHookBusy();
}

void TfrmWaterMark::trcPreviewRelease()
{
    if (trcPreview->maximum() <= 0) return;
    const double fraction = double(trcPreview->value()) / trcPreview->maximum();
    FFPlayer->SeekTo(0, false, int64_t(fraction * double(Duration)));
}

bool TfrmWaterMark::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == trcPreview && event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && trcPreview->isEnabled()) {
            trcPreview->setValue(QStyle::sliderValueFromPosition(trcPreview->minimum(), trcPreview->maximum(),
                                                                 int(mouse->position().x()), trcPreview->width()));
            trcPreviewRelease();
        }
    } else if (watched == edt1 && event->type() == QEvent::FocusOut) {
        edt1Exit();
    }
    return QDialog::eventFilter(watched, event);
}

// ---- Items -------------------------------------------------------------------

TWmItemRec* TfrmWaterMark::Entry(int row) const
{
    return row >= 0 && row < int(entries_.size()) ? entries_[size_t(row)].get() : nullptr;
}

int TfrmWaterMark::EntryOfLayer(const WmLayer* layer) const
{
    if (!layer) return -1;
    for (size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i]->Layer == layer) return int(i);
    return -1;
}

void TfrmWaterMark::SelectLayer(WmLayer* layer)
{
    if (layer == ImgView->SelectedLayer()) return;
    ImgView->SelectLayer(layer);
    if (layer) LayerOpacity->setValue(layer->MasterAlpha());
}

void TfrmWaterMark::DeleteSelectedLayer()
{
    WmLayer* layer = ImgView->SelectedLayer();
    if (!layer) return;
    ImgView->SelectLayer(nullptr);
    ImgView->DeleteLayer(layer);
}

QFont TfrmWaterMark::CurrentFont(int style) const
{
    return MakeItemFont(suiFontCmb->currentFont().family(), CurrentFontSize(), style);
}

int TfrmWaterMark::CurrentFontSize() const
{
    const int size = suiFontSizeCmb->currentText().toInt();
    return size > 0 ? size : 26;
}

QColor TfrmWaterMark::BoxColor(const QComboBox* box) const
{
    return box->currentData().value<QColor>();
}

void TfrmWaterMark::SetBoxColor(QComboBox* box, const QColor& color)
{
    for (int i = 0; i < box->count(); ++i)
        if (box->itemData(i).value<QColor>().rgb() == color.rgb()) {
            box->setCurrentIndex(i);
            return;
        }
    QPixmap swatch(14, 14);
    swatch.fill(color);
    box->addItem(QIcon(swatch), color.name(), color);
    box->setCurrentIndex(box->count() - 1);
}

QImage TfrmWaterMark::TextBitmap(const QString& text, const QFont& font, const QColor& color, bool opaque,
                                 const QColor& box, QSize size) const
{
    if (!size.isValid() || size.isEmpty()) size = TextExtent(text, font);
    return RenderTextPicture(text, font, color, size, opaque, ColorToBgrValue(box));
}

WmLayer* TfrmWaterMark::NewLayer(const QImage& bitmap, int tag, int index)
{
    WmLayer* layer = ImgView->AddLayer(bitmap, index);
    layer->Tag = tag;
    layer->OnMouseDown = [this](WmLayer* l) { SelectLayer(l); };
    return layer;
}

void TfrmWaterMark::btnAddTextClick()
{
    FFPlayer->SetHook(false);
    edt1Exit();
    lsbox->addItem(QStringLiteral("Add Text"));
    lsbox->setFocus();
    lsbox->setCurrentRow(lsbox->count() - 1);

    auto entry = std::make_unique<TWmItemRec>();
    int style = 0;
    if (ckBold->isChecked()) style |= kFontBold;
    if (ckItalic->isChecked()) style |= kFontItalic;
    if (ckUnderline->isChecked()) style |= kFontUnderline;
    if (ckStrikeout->isChecked()) style |= kFontStrikeout;
    const QFont font = CurrentFont(style);
    const QString text = QStringLiteral("Add Text");
    const QImage bitmap = TextBitmap(text, font, BoxColor(suiColorBoxcmb), rb1->isChecked(),
                                     BoxColor(suiColorBoxbackground));
    const QPointF centre = ImgView->CentreInFrame();
    const double cx = std::trunc(centre.x()), cy = std::trunc(centre.y());
    const double w = bitmap.width(), h = bitmap.height();
    WmLayer* layer = NewLayer(bitmap, 0);
    layer->SetMasterAlpha(trcTextTran->value());
    layer->SetLocation(QRectF(QPointF(cx - w / 2, cy - h / 2), QPointF(cx + w / 2, cy + h / 2)));
    SelectLayer(layer);

    const QRectF location = layer->Location();
    entry->Text = text;
    entry->TextLeft = RoundEven(location.left());
    entry->TextTop = RoundEven(location.top());
    entry->TextWidth = RoundEven(location.width());
    entry->TextHeight = RoundEven(location.height());
    entry->Font = font;
    entry->FontColor = BoxColor(suiColorBoxcmb);
    entry->TextAlpha = trcTextTran->value();
    entry->BackColor = ColorToBgrValue(BoxColor(suiColorBoxbackground));
    entry->BackOpaque = rb1->isChecked();
    entry->Kind = TWmRec::kText;
    entry->StartTime = 0;
    entry->EndTime = int32_t(Duration / 1000000);
    entry->Layer = layer;
    entries_.push_back(std::move(entry));
    SyncHookRanges();

    FFPlayer->SetHook(true);
    trcTextHoriz->setEnabled(true);
    trcTextVert->setEnabled(true);
    lsboxClick();
    ShowEditor(lsbox->count() - 1);
}

void TfrmWaterMark::btnAddImageClick()
{
    FFPlayer->SetHook(false);
    edt1Exit();
    const QString path = dialogs_.OpenFile(
        this, QStringLiteral("Open"),
        QStringLiteral("Pictures (*.bmp;*.png;*.jpg)|*.bmp;*.png;*.jpg;*.jpeg|Bitmap files (*.bmp)|*.bmp"), QString());
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        FFPlayer->SetHook(true);
        return;
    }
    QString error;
    const QImage image = LoadImage24(path, &error);
    if (image.isNull()) {
        dialogs_.Message(this, error, QStringLiteral("Warning"), MessageIcon::Warning);
        FFPlayer->SetHook(true);
        return;
    }
    lsbox->addItem(path);
    lsbox->setFocus();
    lsbox->setCurrentRow(lsbox->count() - 1);

    WmLayer* layer = NewLayer(image.convertToFormat(QImage::Format_ARGB32_Premultiplied), 1);
    const QPointF centre = ImgView->CentreInFrame();
    const double cx = std::trunc(centre.x()), cy = std::trunc(centre.y());
    const double w = image.width(), h = image.height();
    layer->SetLocation(QRectF(QPointF(cx - w / 2, cy - h / 2), QPointF(cx + w / 2, cy + h / 2)));
    layer->SetMasterAlpha(trcTextTran->value());
    SelectLayer(layer);

    auto entry = std::make_unique<TWmItemRec>();
    entry->ImageFile = path;
    entry->ImageLeft = RoundEven(layer->Location().left());
    entry->ImageTop = RoundEven(layer->Location().top());
    entry->ImageWidth = image.width();
    entry->ImageHeight = image.height();
    entry->ImageAlpha = trcTextTran->value();
    entry->Kind = TWmRec::kImage;
    entry->StartTime = 0;
    entry->EndTime = int32_t(Duration / 1000000);
    entry->Layer = layer;
    entries_.push_back(std::move(entry));
    SyncHookRanges();

    FFPlayer->SetHook(true);
    trcTextHoriz->setEnabled(true);
    trcTextVert->setEnabled(true);
    lsboxClick();
}

void TfrmWaterMark::AddText()
{
    WmLayer* selected = ImgView->SelectedLayer();
    if (!selected) return;
    const int row = EntryOfLayer(selected);
    if (row < 0) return;
    lsbox->setCurrentRow(row);
    TWmItemRec& entry = *entries_[size_t(row)];
    RebuildTextLayer(lsbox->item(row)->text(), suiFontCmb->currentFont().family(), FontStyleOf(entry.Font),
                     BoxColor(suiColorBoxcmb), BoxColor(suiColorBoxbackground), CurrentFontSize());
}

void TfrmWaterMark::RebuildTextLayer(const QString& text, const QString& fontName, int style, const QColor& color,
                                     const QColor& boxColor, int size)
{
    if (text.trimmed().isEmpty()) return;
    WmLayer* old = ImgView->SelectedLayer();
    const int row = EntryOfLayer(old);
    if (!old || row < 0) return;
    TWmItemRec& entry = *entries_[size_t(row)];
    const QRectF location = old->Location();
    const int alpha = old->MasterAlpha();
    const bool visible = old->isVisible();
    // The new picture takes the old one's place in the stack, so the view
    // keeps drawing the items in list order as the conversion does.
    const int index = ImgView->LayerIndex(old);
    DeleteSelectedLayer();

    const QFont font = MakeItemFont(fontName, size, style);
    const QImage bitmap = TextBitmap(text, font, color, entry.BackOpaque, boxColor);
    WmLayer* layer = NewLayer(bitmap, 0, index);
    layer->SetLocation(QRectF(location.topLeft(), QSizeF(bitmap.size())));
    layer->SetMasterAlpha(alpha);
    layer->setVisible(visible);
    SelectLayer(layer);
    entry.Layer = layer;
    entry.Kind = TWmRec::kText;
    entry.Font = font;
}

void TfrmWaterMark::lsboxClick()
{
    const int row = lsbox->currentRow();
    TWmItemRec* entry = Entry(row);
    if (!entry) return;
    SelectLayer(entry->Layer);
    loadingControls_ = true;
    if (entry->Layer) {
        const QRectF location = entry->Layer->Location();
        trcTextHoriz->setValue(RoundEven(location.left()));
        trcTextVert->setValue(RoundEven(location.top()));
        trcTextTran->setValue(entry->Layer->MasterAlpha());
    }
    SetRangeOfEntry(*entry);
    trcTextHoriz->setEnabled(true);
    trcTextVert->setEnabled(true);
    LoadEntryControls(row);
    loadingControls_ = false;
    // The sliders' handlers put the layer on whole pixels.
    trcTextHorizChange();
    trcTextVertChange();
}

void TfrmWaterMark::SetRangeOfEntry(TWmItemRec& entry)
{
    const int32_t start = entry.StartTime, end = entry.EndTime;
    trcRange->SetPositionU(trcRange->Max());
    trcRange->SetPositionL(start);
    trcRange->SetPositionU(end);
    // The bar's change handler has written its own values in between.
    entry.StartTime = start;
    entry.EndTime = end;
    SyncHookRanges();
    ShowRange(entry);
    trcRange->update();
}

void TfrmWaterMark::ShowRange(const TWmItemRec& entry)
{
    edtStart->setText(FormatClock(entry.StartTime));
    edtEnd->setText(FormatClock(entry.EndTime));
}

void TfrmWaterMark::LoadEntryControls(int row)
{
    const TWmItemRec* entry = Entry(row);
    if (!entry) return;
    const bool text = entry->Layer ? entry->Layer->Tag == 0 : entry->Kind == TWmRec::kText;
    for (QWidget* w : std::initializer_list<QWidget*>{rb1, rb2, suiColorBoxcmb, suiFontCmb, suiFontSizeCmb, ckBold,
                                                      ckItalic, ckUnderline, ckStrikeout})
        w->setEnabled(text);
    if (!text) {
        suiColorBoxbackground->setEnabled(false);
        return;
    }
    SetBoxColor(suiColorBoxbackground, ColorFromBgrValue(entry->BackColor));
    SetBoxColor(suiColorBoxcmb, entry->FontColor);
    suiFontSizeCmb->setCurrentText(QString::number(entry->Font.pointSize()));
    suiFontCmb->setCurrentFont(entry->Font);
    ckBold->setChecked(entry->Font.bold());
    ckItalic->setChecked(entry->Font.italic());
    ckUnderline->setChecked(entry->Font.underline());
    ckStrikeout->setChecked(entry->Font.strikeOut());
    if (entry->BackOpaque)
        rb1->setChecked(true);
    else
        rb2->setChecked(true);
    suiColorBoxbackground->setEnabled(entry->BackOpaque);
}

void TfrmWaterMark::lsboxDblClick()
{
    const int row = lsbox->currentRow();
    const TWmItemRec* entry = Entry(row);
    if (!entry || !(entry->Layer ? entry->Layer->Tag == 0 : entry->Kind == TWmRec::kText)) return;
    ShowEditor(row);
}

void TfrmWaterMark::ShowEditor(int row)
{
    QListWidgetItem* item = lsbox->item(row);
    if (!item) return;
    EditIndex = row;
    const QRect r = lsbox->visualItemRect(item);
    edt1->setGeometry(21, r.top() + 2, lsbox->viewport()->width() - 25, 20);
    QFont font = edt1->font();
    font.setPointSize(11);
    edt1->setFont(font);
    edt1->setText(item->text());
    edt1->show();
    edt1->setFocus();
    edt1->selectAll();
}

void TfrmWaterMark::edt1Change()
{
    QListWidgetItem* item = lsbox->item(EditIndex);
    if (!item) return;
    item->setText(edt1->text());
    AddText();
}

void TfrmWaterMark::edt1Exit()
{
    edt1->move(edt1->x(), 200);
    edt1->hide();
}

void TfrmWaterMark::btnUpClick()
{
    edt1Exit();
    if (!ImgView->SelectedLayer()) return;
    const int i = lsbox->currentRow();
    if (i > 0 && i < EntryCount()) {
        std::swap(entries_[size_t(i)], entries_[size_t(i - 1)]);
        QListWidgetItem* item = lsbox->takeItem(i);
        lsbox->insertItem(i - 1, item);
        lsbox->setCurrentRow(i - 1);
        WmLayer* layer = ImgView->SelectedLayer();
        ImgView->MoveLayer(layer, ImgView->LayerIndex(layer) - 1);
        SyncHookRanges();
    }
    lsbox->setFocus();
}

void TfrmWaterMark::btnDownClick()
{
    edt1Exit();
    if (!ImgView->SelectedLayer()) return;
    const int i = lsbox->currentRow();
    if (i >= 0 && i + 1 < EntryCount()) {
        std::swap(entries_[size_t(i)], entries_[size_t(i + 1)]);
        QListWidgetItem* item = lsbox->takeItem(i);
        lsbox->insertItem(i + 1, item);
        lsbox->setCurrentRow(i + 1);
        WmLayer* layer = ImgView->SelectedLayer();
        ImgView->MoveLayer(layer, ImgView->LayerIndex(layer) + 1);
        SyncHookRanges();
    }
    lsbox->setFocus();
}

void TfrmWaterMark::btnDeleteClick()
{
    edt1Exit();
    TakeHookBusy();
    const int i = lsbox->currentRow();
    if (TWmItemRec* entry = Entry(i)) {
        ImgView->DropOutline();
        ImgView->DeleteLayer(entry->Layer);
        entries_.erase(entries_.begin() + i);
        delete lsbox->takeItem(i);
        lsbox->setCurrentRow(-1);
        if (i > 0)
            lsbox->setCurrentRow(i - 1);
        else if (lsbox->count() > 0)
            lsbox->setCurrentRow(0);
        hookRanges_.clear();
        for (const auto& e : entries_) hookRanges_.push_back({e->StartTime, e->EndTime});
    }
    ReleaseHookBusy();
    lsbox->setFocus();
}

// ---- Controls of the selected item -------------------------------------------

void TfrmWaterMark::trcTextHorizChange()
{
    edtTextHoriz->setText(QString::number(trcTextHoriz->value()));
    WmLayer* layer = ImgView->SelectedLayer();
    if (loadingControls_ || !layer || !ImgView->OutlineExists()) return;
    lsbox->setFocus();
    const QRectF location = layer->Location();
    const int left = RoundEven(location.left());
    if (left < trcTextHoriz->minimum() || left > trcTextHoriz->maximum()) return;
    layer->SetLocation(QRectF(QPointF(trcTextHoriz->value(), location.top()), location.size()));
}

void TfrmWaterMark::trcTextVertChange()
{
    edtTextVert->setText(QString::number(trcTextVert->value()));
    WmLayer* layer = ImgView->SelectedLayer();
    if (loadingControls_ || !layer || !ImgView->OutlineExists()) return;
    lsbox->setFocus();
    const QRectF location = layer->Location();
    const int top = RoundEven(location.top());
    if (top < trcTextVert->minimum() || top > trcTextVert->maximum()) return;
    layer->SetLocation(QRectF(QPointF(location.left(), trcTextVert->value()), location.size()));
}

void TfrmWaterMark::trcTextTranChange()
{
    edtTextTran->setText(QString::number(trcTextTran->value()));
    if (WmLayer* layer = ImgView->SelectedLayer()) {
        LayerOpacity->setValue(trcTextTran->value());
        layer->SetMasterAlpha(LayerOpacity->value());
    }
}

void TfrmWaterMark::trcRangeChange()
{
    TWmItemRec* entry = Entry(lsbox->currentRow());
    if (!entry) return;
    entry->StartTime = trcRange->PositionL();
    entry->EndTime = trcRange->PositionU();
    ShowRange(*entry);
    if (!loadingControls_) SyncHookRanges();
}

void TfrmWaterMark::btnStartUp1Click()
{
    trcRange->SetPositionL(trcRange->PositionL() + 1);
}

void TfrmWaterMark::btnStartUpStartDownClick()
{
    trcRange->SetPositionL(trcRange->PositionL() - 1);
}

void TfrmWaterMark::btnStartUpEndUpClick()
{
    trcRange->SetPositionU(trcRange->PositionU() + 1);
}

void TfrmWaterMark::btnStartUpEndDownClick()
{
    trcRange->SetPositionU(trcRange->PositionU() - 1);
}

void TfrmWaterMark::suiFontCmbChange()
{
    TWmItemRec* entry = Entry(lsbox->currentRow());
    if (loadingControls_ || !entry) return;
    entry->Font.setFamily(suiFontCmb->currentFont().family());
    AddText();
}

void TfrmWaterMark::suiFontSizeCmbChange()
{
    TWmItemRec* entry = Entry(lsbox->currentRow());
    if (loadingControls_ || !entry) return;
    entry->Font.setPointSize(CurrentFontSize());
    AddText();
    trcTextHorizChange();
}

void TfrmWaterMark::suiColorBoxcmbChange()
{
    TWmItemRec* entry = Entry(lsbox->currentRow());
    if (loadingControls_ || !entry) return;
    entry->FontColor = BoxColor(suiColorBoxcmb);
    AddText();
}

void TfrmWaterMark::suiColorBoxbackgroundChange()
{
    TWmItemRec* entry = Entry(lsbox->currentRow());
    if (loadingControls_ || !entry) return;
    entry->BackColor = ColorToBgrValue(BoxColor(suiColorBoxbackground));
    AddText();
}

void TfrmWaterMark::StyleBoxClick(int member, bool checked)
{
    TWmItemRec* entry = Entry(lsbox->currentRow());
    if (loadingControls_ || !entry) return;
    const int style = FontStyleOf(entry->Font);
    SetFontStyle(entry->Font, checked ? style | member : style & ~member);
    AddText();
}

void TfrmWaterMark::rb1Click()
{
    suiColorBoxbackground->setEnabled(true);
    TWmItemRec* entry = Entry(lsbox->currentRow());
    if (loadingControls_ || !entry) return;
    entry->BackOpaque = true;
    AddText();
}

void TfrmWaterMark::rb2Click()
{
    suiColorBoxbackground->setEnabled(false);
    TWmItemRec* entry = Entry(lsbox->currentRow());
    if (loadingControls_ || !entry) return;
    entry->BackOpaque = false;
    AddText();
}

void TfrmWaterMark::ImgViewEmptyClick()
{
    if (suiPageControl1->currentIndex() != 0) return;
    SelectLayer(nullptr);
}

void TfrmWaterMark::ImgViewLayerClick(WmLayer* layer)
{
    if (suiPageControl1->currentIndex() != 0) return;
    const int row = EntryOfLayer(layer);
    if (row < 0) return;
    lsbox->setFocus();
    lsbox->setCurrentRow(row);
    lsboxClick();
}

void TfrmWaterMark::ImgViewMouseMove()
{
    WmLayer* layer = ImgView->SelectedLayer();
    if (!layer) return;
    lsbox->setFocus();
    const QRectF location = layer->Location();
    trcTextHoriz->setValue(RoundEven(location.left()));
    trcTextVert->setValue(RoundEven(location.top()));
}

// ---- Effects -----------------------------------------------------------------

void TfrmWaterMark::EffectSliderChange()
{
    brightness_ = trcBrightness->value();
    contrast_ = trcContrast->value();
    saturation_ = trcSaturation->value();
    exposure_ = trcExposure->value();
    RenderStill();
}

void TfrmWaterMark::RenderStill()
{
    if (!FFPlayer->IsPausedOrIdle() || !HasFrameBitmap()) return;
    Bitmap24 still = FrameBitmapCopy();
    const int b = brightness_, c = contrast_, s = saturation_, e = exposure_;
    if (EffectsAreActive(b, c, s, e)) {
        ApplyColorAdjust(still, b, c, s);
        ApplyExposure(still, float(e));
    }
    ImgView->SetFrame(ImageFromBitmap(still));
    ImgView->show();
    ImgView->raise();
}

void TfrmWaterMark::btnResetClick()
{
    trcBrightness->setValue(255);
    trcContrast->setValue(0);
    trcSaturation->setValue(255);
    trcExposure->setValue(0);
    spedtBrightness->setValue(255);
    spedtContrast->setValue(0);
    spedtSaturation->setValue(255);
    spedtExposure->setValue(0);
    chkProcessText->setChecked(false);
    chkProcessImage->setChecked(false);
}

// ---- Storing -------------------------------------------------------------------

void TfrmWaterMark::Restore()
{
    if (!entries_.empty() || record_.WaterMarks.empty()) return;
    for (const TWmRec& stored : record_.WaterMarks)
        lsbox->addItem(stored.Kind == TWmRec::kImage ? stored.ImageFile : stored.Text);
    QStringList unreadable;
    int row = 0;
    for (const TWmRec& stored : record_.WaterMarks) {
        auto entry = std::make_unique<TWmItemRec>();
        static_cast<TWmRec&>(*entry) = stored;
        entry->Layer = nullptr;
        if (stored.Kind == TWmRec::kText) {
            if (!lsbox->item(row)->text().trimmed().isEmpty()) {
                const QImage bitmap = TextBitmap(stored.Text, stored.Font, stored.FontColor, stored.BackOpaque,
                                                 ColorFromBgrValue(stored.BackColor),
                                                 QSize(stored.TextWidth, stored.TextHeight));
                WmLayer* layer = NewLayer(bitmap, 0);
                layer->SetLocation(QRectF(stored.TextLeft, stored.TextTop, bitmap.width(), bitmap.height()));
                layer->SetMasterAlpha(stored.TextAlpha);
                SelectLayer(layer);
                entry->Layer = layer;
            }
        } else if (!stored.ImageFile.isEmpty()) {
            QString error;
            const QImage image = LoadImage24(stored.ImageFile, &error);
            if (image.isNull()) {
                // The entry goes with its picture; the message says which.
                unreadable << error;
                delete lsbox->takeItem(row);
                continue;
            }
            WmLayer* layer = NewLayer(image.convertToFormat(QImage::Format_ARGB32_Premultiplied), 1);
            const double w = stored.ImageWidth > 0 ? stored.ImageWidth : image.width();
            const double h = stored.ImageHeight > 0 ? stored.ImageHeight : image.height();
            layer->SetLocation(QRectF(stored.ImageLeft, stored.ImageTop, w, h));
            layer->SetMasterAlpha(stored.ImageAlpha);
            SelectLayer(layer);
            entry->Layer = layer;
        }
        entries_.push_back(std::move(entry));
        ++row;
    }
    SyncHookRanges();
    if (lsbox->count() > 0) {
        lsbox->setCurrentRow(lsbox->count() - 1);
        if (ImgView->isVisible()) lsboxClick();
    }
    if (!unreadable.isEmpty())
        dialogs_.Message(this, unreadable.join(QLatin1Char('\n')), QStringLiteral("Warning"), MessageIcon::Warning);
}

void TfrmWaterMark::WriteBack()
{
    std::vector<TWmRec>& stored = record_.WaterMarks;
    stored.resize(entries_.size());
    for (size_t i = 0; i < entries_.size(); ++i) {
        const TWmItemRec& entry = *entries_[i];
        TWmRec& out = stored[i];
        const WmLayer* layer = entry.Layer;
        const QRectF location = layer ? layer->Location() : QRectF();
        if (entry.Kind == TWmRec::kText) {
            out.Text = lsbox->item(int(i))->text();
            if (layer) {
                out.TextLeft = RoundEven(location.left());
                out.TextTop = RoundEven(location.top());
                out.TextWidth = RoundEven(location.width());
                out.TextHeight = RoundEven(location.height());
                out.TextAlpha = layer->MasterAlpha();
            } else {
                out.TextLeft = entry.TextLeft, out.TextTop = entry.TextTop;
                out.TextWidth = entry.TextWidth, out.TextHeight = entry.TextHeight;
                out.TextAlpha = entry.TextAlpha;
            }
            out.Kind = TWmRec::kText;
            out.Font = entry.Font;
            out.FontColor = entry.FontColor;
            out.BackColor = entry.BackColor;
            out.BackOpaque = entry.BackOpaque;
        } else {
            out.ImageFile = entry.ImageFile;
            if (layer) {
                out.ImageLeft = RoundEven(location.left());
                out.ImageTop = RoundEven(location.top());
                out.ImageWidth = RoundEven(location.width());
                out.ImageHeight = RoundEven(location.height());
                out.ImageAlpha = layer->MasterAlpha();
            } else {
                out.ImageLeft = entry.ImageLeft, out.ImageTop = entry.ImageTop;
                out.ImageWidth = entry.ImageWidth, out.ImageHeight = entry.ImageHeight;
                out.ImageAlpha = entry.ImageAlpha;
            }
            out.Kind = TWmRec::kImage;
        }
        out.StartTime = entry.StartTime;
        out.EndTime = entry.EndTime;
    }
}

void TfrmWaterMark::btnHelpClick()
{
    const QString base = GlobalObject() ? GlobalObject()->HelpUrl() : QStringLiteral("https://varnel.example.org/help/");
    OpenWebPage(base + QStringLiteral("watermark.html"));
}

void TfrmWaterMark::btnOkClick()
{
    WriteBack();
    record_.Brightness = trcBrightness->value();
    record_.Contrast = trcContrast->value();
    record_.Saturation = trcSaturation->value();
    record_.Exposure = trcExposure->value();
    record_.ProcessText = chkProcessText->isChecked();
    record_.ProcessImage = chkProcessImage->isChecked();
    FFPlayer->SetHook(false);
    FFPlayer->ClosePlayback(true);
    accept();
}

void TfrmWaterMark::btnCancelClick()
{
    CloseWindow(true);
    reject();
}

void TfrmWaterMark::CloseWindow(bool resumeFirst)
{
    FFPlayer->SetHook(false);
    if (resumeFirst && FFPlayer->IsPausedOrIdle()) FFPlayer->ResumePlayback();
    FFPlayer->SetOnHook(nullptr);
    FFPlayer->ClosePlayback(resumeFirst);
}

void TfrmWaterMark::done(int result)
{
    if (closed_) {
        QDialog::done(result);
        return;
    }
    closed_ = true;
    CloseWindow(false);
    {
        std::lock_guard lock(frameMutex_);
        frameBitmap_ = Bitmap24();
        haveFrame_ = false;
    }
    ImgView->DropOutline();
    for (auto& entry : entries_) {
        ImgView->DeleteLayer(entry->Layer);
        entry->Layer = nullptr;
    }
    entries_.clear();
    lsbox->clear();
    QDialog::done(result);
}
