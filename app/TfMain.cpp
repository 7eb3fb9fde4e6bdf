#include "TfMain.h"

#include "ui_TfMain.h"
#include "uFunctions.h"
#include "uVariables.h"
#include "TClassicTabStyle.h"

#include "coolctrls/CoolImagesLink.h"
#include "coolctrls/TCoolImages.h"
#include "coolctrls/TFormLoading.h"
#include "coolctrls/TStoredPictures.h"
#include "midigen/TMidiGen.h"
#include "platform/Application.h"
#include "platform/Exception.h"
#include "platform/TTimer.h"
#include "platform/TToolWindowBorder.h"
#include "raster32/TBitmap32.h"
#include "raster32/TBitmap32Collection.h"
#include "raster32/TBitmap32Item.h"
#include "raster32/TBitmap32List.h"
#include "raster32/TImage32.h"

#include "platform/canvas/ColorScheme.h"

#include <QApplication>
#include <QBuffer>
#include <QCloseEvent>
#include <QDynamicPropertyChangeEvent>
#include <QFile>
#include <QIcon>
#include <QImageReader>
#include <QPixmap>
#include <QShortcut>
#include <QStyle>
#include <QTabWidget>

#include <future>

// The window's resources live in the static library; register them.
static void initResources()
{
    Q_INIT_RESOURCE(TfMain);
}

namespace app {

using coolctrls::TCoolLabel;

const char *const TfMain::CreditsLine =
    "Tonvik - Intervals (DEMO)   *   ear training for musical intervals   *   "
    "listen, relax and name what you hear   *   made with care by Tonvik Software";

namespace {

// Reads a component's stored form from the window's resources.
QByteArray storedForm(const QString &name)
{
    QFile file(":/TfMain/" + name);
    if (!file.open(QIODevice::ReadOnly))
        throw platform::Exception(QString("Resource %1 not found").arg(name));
    return file.readAll();
}

// The window icon's pixels. Read as the PNG it is: a reader left to detect
// the format would load every image-format plugin to ask it first.
QImage readWindowIcon()
{
    QImageReader reader(QStringLiteral(":/TfMain/icon.png"), "png");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

void loadBitmap(raster32::TBitmap32 *bitmap, const QString &name)
{
    QByteArray data = storedForm(name);
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    bitmap->ReadStored(buffer);
}

} // namespace

TfMain::TfMain(QWidget *parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::TfMain>())
    , m_coolImages(new coolctrls::TCoolImages(this))
    , m_timer(new platform::TTimer(this))
    , m_midiGen(new TMidiGen(this))
    , m_bmpAnswers(new raster32::TBitmap32List(this))
{
    // A tool-window border: a thin caption bar with only a close button;
    // the size is fixed by the stored description (minimum = maximum).
    platform::TToolWindowBorder::apply(this);
    initResources();
    // The window icon decodes on the other core while the controls are
    // created (QImage needs no GUI thread; the pixmap is made on this one).
    std::future<QImage> icon = std::async(std::launch::async | std::launch::deferred, readWindowIcon);
    {
        // Auto-sized controls are measured once, when the description is in.
        const coolctrls::TFormLoading loading;
        ui->setupUi(this);
    }
    useClassicTabFrame();
    setWindowIcon(QIcon(QPixmap::fromImage(icon.get())));
    move(223, 183);  // as designed; the window manager may place it elsewhere
    // A damaged stored form is reported; the window still opens.
    platform::guarded([this] { loadComponents(); });
    // The ticker starts from its entry position once its description is in.
    ui->CoolScrollingText->Loaded();
    wireEvents();
    setUpAnswerKeys();
    ui->tsMain->installEventFilter(this);
    // An error in the creation steps is shown and creation goes on.
    platform::guarded([this] { FormCreate(this); });
}

TfMain::~TfMain() = default;

void TfMain::useClassicTabFrame()
{
    // The tab control draws the classic raised frame and tabs in the
    // classic scheme's colours, with 609 x 313 pages as designed. The pages
    // and the controls on them keep the application's style.
    ui->PageControl->setStyle(new TClassicTabStyle(ui->PageControl));
    ui->PageControl->setPalette(platform::classicPalette());
    for (int i = 0; i < ui->PageControl->count(); ++i)
        ui->PageControl->widget(i)->setStyle(QApplication::style());
}

void TfMain::loadComponents()
{
    m_coolImages->setObjectName("CoolImages");
    m_timer->setObjectName("Timer");
    m_midiGen->setObjectName("MidiGen");
    m_bmpAnswers->setObjectName("BMPAnswers");

    // The store's pictures are named in the description, under the store's
    // name (the Designer plugin reads them there too); they were read when
    // the description named them (event()).
    std::unique_ptr<coolctrls::TStoredPictures> pictures = std::move(m_storedPictures);
    const QStringList names = property("CoolImages").toStringList();
    if (!pictures || pictures->names() != names)
        pictures = std::make_unique<coolctrls::TStoredPictures>(names);
    pictures->loadInto(*m_coolImages);

    m_timer->setEnabled(false);
    m_timer->setInterval(1000);

    m_midiGen->setSustain(true);
    m_midiGen->setDuration(150);

    loadBitmap(m_bmpAnswers->Bitmaps()->Add()->Bitmap(), "lamp-green.bmp32");
    loadBitmap(m_bmpAnswers->Bitmaps()->Add()->Bitmap(), "lamp-red.bmp32");

    loadBitmap(ui->imgAnswer->Bitmap(), "lamp-off.bmp32");

    // Controls that name the image store carry its name in the description.
    for (QObject *child : findChildren<QObject *>()) {
        const QVariant ref = child->property("CoolImagesRef");
        if (ref.isValid() && ref.toString() == m_coolImages->objectName())
            coolctrls::LinkCoolImages(child, m_coolImages);
    }
}

void TfMain::wireEvents()
{
    ui->bStart->OnClick = [this](QObject *s) { bStartClick(s); };
    ui->bRepeat->OnClick = [this](QObject *s) { bRepeatClick(s); };
    ui->bReset->OnClick = [this](QObject *s) { bResetClick(s); };
    ui->cbLevel->OnChange = [this](QObject *s) { cbLevelChange(s); };
    m_timer->OnTimer = [this](QObject *s) { TimerTimer(s); };
    for (int tag = 1; tag <= 12; ++tag) {
        TCoolLabel *label = intervalLabel(tag);
        label->OnMouseDown = [this](QObject *s, Qt::MouseButton b, Qt::KeyboardModifiers sh, int x, int y) {
            LabelMouseDown(s, b, sh, x, y);
        };
        label->OnMouseUp = [this](QObject *s, Qt::MouseButton b, Qt::KeyboardModifiers sh, int x, int y) {
            LabelMouseUp(s, b, sh, x, y);
        };
    }
}

void TfMain::setUpAnswerKeys()
{
    // A direct key per interval, active while its caption is shown and
    // enabled; it answers as a click on the caption does. In the tab order
    // the captions follow the level box (Qt orders only focusable widgets;
    // updateAnswerFocus decides when they are).
    QWidget *previous = ui->cbLevel;
    for (int tag = 1; tag <= 12; ++tag) {
        TCoolLabel *label = intervalLabel(tag);
        label->setFocusPolicy(Qt::TabFocus);
        setTabOrder(previous, label);
        previous = label;
        auto *shortcut = new QShortcut(answerKey(tag), label, label, [label] { label->Click(); });
        shortcut->setContext(Qt::WindowShortcut);
        label->setToolTip(QString("Key %1").arg(shortcut->key().toString(QKeySequence::NativeText)));
    }
}

QKeySequence TfMain::answerKey(int tag)
{
    static const Qt::Key keys[] = {Qt::Key_1, Qt::Key_2, Qt::Key_3, Qt::Key_4, Qt::Key_5,     Qt::Key_6,
                                   Qt::Key_7, Qt::Key_8, Qt::Key_9, Qt::Key_0, Qt::Key_Minus, Qt::Key_Equal};
    return tag >= 1 && tag <= 12 ? QKeySequence(keys[tag - 1]) : QKeySequence();
}

void TfMain::updateAnswerFocus()
{
    // During a run the captions that can be answered are tab stops; after
    // it, the focus a caption held goes to Start.
    QWidget *focused = focusWidget();
    bool focusLost = false;
    for (int tag = 1; tag <= 12; ++tag) {
        TCoolLabel *label = intervalLabel(tag);
        const bool answerable = Quiz.Running && label->isEnabled();
        label->setFocusPolicy(answerable ? Qt::TabFocus : Qt::NoFocus);
        focusLost = focusLost || (!answerable && focused == label);
    }
    if (focusLost && ui->bStart->isEnabled())
        ui->bStart->setFocus(Qt::OtherFocusReason);
}

// --- controls ---------------------------------------------------------------

QTabWidget *TfMain::PageControl() const { return ui->PageControl; }
QWidget *TfMain::tsMain() const { return ui->tsMain; }
QWidget *TfMain::tsInfo() const { return ui->tsInfo; }
coolctrls::TCoolComboBox *TfMain::cbLevel() const { return ui->cbLevel; }
coolctrls::TCoolBtn *TfMain::bStart() const { return ui->bStart; }
coolctrls::TCoolBtn *TfMain::bRepeat() const { return ui->bRepeat; }
coolctrls::TCoolBtn *TfMain::bReset() const { return ui->bReset; }
TCoolLabel *TfMain::lRight() const { return ui->lRight; }
TCoolLabel *TfMain::lWrong() const { return ui->lWrong; }
TCoolLabel *TfMain::lPercent() const { return ui->lPercent; }
TCoolLabel *TfMain::lHighScore() const { return ui->lHighScore; }
TCoolLabel *TfMain::lName() const { return ui->lName; }
TCoolLabel *TfMain::lCountDown() const { return ui->lCountDown; }
coolctrls::TCoolScrollingText *TfMain::CoolScrollingText() const { return ui->CoolScrollingText; }
raster32::TImage32 *TfMain::imgAnswer() const { return ui->imgAnswer; }

TCoolLabel *TfMain::intervalLabel(int tag) const
{
    for (TCoolLabel *label : ui->CoolGroupBox1->findChildren<TCoolLabel *>())
        if (label->Tag() == tag)
            return label;
    return nullptr;
}

// --- window -----------------------------------------------------------------

void TfMain::FormCreate(QObject *)
{
    ui->PageControl->setCurrentWidget(ui->tsMain);
    ui->bReset->setEnabled(false);
    ui->bRepeat->setEnabled(false);
    LoadSettings();
    InitQuiz();
    Randomize();
}

void TfMain::tsMainShow(QObject *)
{
    ui->cbLevel->setItemIndex(Quiz.Level - 1);
    InitQuiz();
}

void TfMain::FormClose(QObject *)
{
    m_midiGen->Stop();
    SaveSettings();
}

void TfMain::closeEvent(QCloseEvent *event)
{
    platform::guarded([this] { FormClose(this); });
    event->accept();
}

bool TfMain::event(QEvent *event)
{
    // The description names the image store's pictures before it creates
    // the controls: the wallpaper then decodes on the other core while they
    // are created and measured, and is ready when the store is loaded.
    if (event->type() == QEvent::DynamicPropertyChange
        && static_cast<QDynamicPropertyChangeEvent *>(event)->propertyName() == "CoolImages")
        m_storedPictures = std::make_unique<coolctrls::TStoredPictures>(property("CoolImages").toStringList());
    return QWidget::event(event);
}

bool TfMain::eventFilter(QObject *watched, QEvent *event)
{
    // Each time the quiz page becomes visible: at the window's first showing
    // and on every switch back from the other page. Spontaneous show events
    // (a window restored from the task bar) are no page switch.
    if (watched == ui->tsMain && event->type() == QEvent::Show && !event->spontaneous())
        platform::guarded([this] { tsMainShow(ui->tsMain); });
    return QWidget::eventFilter(watched, event);
}

// --- quiz -------------------------------------------------------------------

void TfMain::setHighScoreLabel(int score)
{
    ui->lHighScore->setCaption(QString("(High-score: %1%)").arg(score));
}

void TfMain::InitQuiz()
{
    ui->CoolScrollingText->Clear();
    ui->CoolScrollingText->Add(CreditsLine);
    InitQuizState();
    ui->lName->setCaption("");
    if (Quiz.Level == 1 || Quiz.Level == 2)
        setHighScoreLabel(Quiz.HighScore[Quiz.Level]);
    ui->lRight->setCaption("0");
    ui->lWrong->setCaption("0");
    ui->lPercent->setCaption("0%");
    ui->lCountDown->setCaption(QString("%1 SEC.").arg(Quiz.SecondsLeft));
    ui->bReset->setEnabled(false);
    ui->bRepeat->setEnabled(false);
    ui->bStart->setEnabled(true);
    updateAnswerFocus();
}

void TfMain::AskQuestion()
{
    NewQuestion();
    Quiz.PlayText = BuildPlayText(Quiz.Notes[1], Quiz.Notes[2], Quiz.Melodic);
    m_midiGen->PlayString(Quiz.PlayText);
}

void TfMain::bStartClick(QObject *)
{
    InitQuiz();
    Quiz.Running = true;
    // The captions become tab stops first, so that the focus leaving the
    // disabled Start goes to the first of them.
    updateAnswerFocus();
    m_timer->setEnabled(true);
    ui->bReset->setEnabled(true);
    ui->cbLevel->setEnabled(false);
    ui->bStart->setEnabled(false);
    Quiz.Answered = false;
    AskQuestion();
}

void TfMain::bRepeatClick(QObject *)
{
    m_midiGen->PlayString(Quiz.PlayText);
}

void TfMain::bResetClick(QObject *)
{
    m_timer->setEnabled(false);
    Quiz.Running = false;
    m_midiGen->Stop();
    ui->bStart->setEnabled(true);
    ui->bReset->setEnabled(false);
    ui->bRepeat->setEnabled(false);
    ui->cbLevel->setEnabled(true);
    updateAnswerFocus();
    Quiz.SecondsLeft = RunSeconds;
    Quiz.AnswerCount = Quiz.RightCount = Quiz.WrongCount = 0;
    ui->lRight->setCaption("0");
    ui->lWrong->setCaption("0");
    ui->lPercent->setCaption("0%");
    ui->lCountDown->setCaption(QString("%1 SEC.").arg(RunSeconds));
}

void TfMain::cbLevelChange(QObject *)
{
    const int index = ui->cbLevel->ItemIndex();
    if (index < 0 || index > 1)
        return;
    SelectLevel(index);
    Quiz.Level = index + 1;
    setHighScoreLabel(Quiz.HighScore[Quiz.Level]);
}

void TfMain::TimerTimer(QObject *)
{
    const TTickAction action = CountDown();
    ui->lCountDown->setCaption(QString("%1 SEC.").arg(Quiz.SecondsLeft));
    if (action == TTickAction::EndRun) {
        m_timer->setEnabled(false);
        ui->bStart->setEnabled(true);
        ui->bStart->setCaption("Start");
        ui->bReset->setEnabled(false);
        ui->bRepeat->setEnabled(false);
        ui->cbLevel->setEnabled(true);
        updateAnswerFocus();
        m_midiGen->Stop();
        if (RaiseHighScore())
            setHighScoreLabel(Quiz.Percent);
        return;
    }
    if (action == TTickAction::Ask)
        AskQuestion();
    if (!Quiz.Answered && !m_midiGen->IsPlaying())
        ui->bRepeat->setEnabled(true);
}

void TfMain::LabelMouseDown(QObject *sender, Qt::MouseButton, Qt::KeyboardModifiers, int, int)
{
    auto *label = qobject_cast<TCoolLabel *>(sender);
    if (!label)
        return;
    label->setFontStyle(coolctrls::detail::fsUnderline);
    if (JudgeAnswer(label->Tag())) {
        ui->lRight->setCaption(QString::number(Quiz.RightCount));
        ui->imgAnswer->setBitmap(m_bmpAnswers->BitmapAt(0));
        ui->imgAnswer->setAccessibleName("right");
    } else {
        ui->lWrong->setCaption(QString::number(Quiz.WrongCount));
        ui->imgAnswer->setBitmap(m_bmpAnswers->BitmapAt(1));
        ui->imgAnswer->setAccessibleName("wrong");
    }
    ui->lPercent->setCaption(QString("%1%").arg(Quiz.Percent));
    ui->lName->setCaption(QString::number(Quiz.CurrentInterval));
    ui->bRepeat->setEnabled(false);
}

void TfMain::LabelMouseUp(QObject *sender, Qt::MouseButton, Qt::KeyboardModifiers, int, int)
{
    if (auto *label = qobject_cast<TCoolLabel *>(sender))
        label->setFontStyle(0);
}

} // namespace app
