#pragma once

#include "coolctrls/CoolControlSupport.h"
#include "platform/Events.h"

#include <QKeySequence>
#include <QWidget>

#include <memory>

class QTabWidget;
class TMidiGen;

namespace coolctrls {
class TCoolBtn;
class TCoolComboBox;
class TCoolGroupBox;
class TCoolImages;
class TCoolLabel;
class TCoolMemo;
class TCoolPanel;
class TCoolScrollingText;
class TStoredPictures;
}
namespace raster32 {
class TBitmap32List;
class TImage32;
}
namespace platform {
class TTimer;
}
namespace Ui {
class TfMain;
}

namespace app {

// The main window: the quiz page ("Tonvik") and the "Information" page. The
// layout and the controls' property values come from the window's stored
// description (TfMain.ui, the wallpaper and lamp bitmaps in their stored
// forms); the handlers run the quiz on the state of uVariables.
class TfMain : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString FontName READ FontName WRITE setFontName)
    Q_PROPERTY(int FontHeight READ FontHeight WRITE setFontHeight)
    Q_PROPERTY(bool FontBold READ FontBold WRITE setFontBold)
    Q_PROPERTY(platform::TColor FontColor READ FontColor WRITE setFontColor)
    TONVIK_COOL_FONT_ACCESSORS

public:
    explicit TfMain(QWidget *parent = nullptr);
    ~TfMain() override;

    // Controls of the window, by their names.
    QTabWidget *PageControl() const;
    QWidget *tsMain() const;
    QWidget *tsInfo() const;
    coolctrls::TCoolComboBox *cbLevel() const;
    coolctrls::TCoolBtn *bStart() const;
    coolctrls::TCoolBtn *bRepeat() const;
    coolctrls::TCoolBtn *bReset() const;
    coolctrls::TCoolLabel *lRight() const;
    coolctrls::TCoolLabel *lWrong() const;
    coolctrls::TCoolLabel *lPercent() const;
    coolctrls::TCoolLabel *lHighScore() const;
    coolctrls::TCoolLabel *lName() const;
    coolctrls::TCoolLabel *lCountDown() const;
    coolctrls::TCoolScrollingText *CoolScrollingText() const;
    raster32::TImage32 *imgAnswer() const;
    // The interval label of tag 1..12.
    coolctrls::TCoolLabel *intervalLabel(int tag) const;
    // The key that answers interval 1..12 directly: the top row of the
    // keyboard in order, 1 to 9, then 0, - and =.
    static QKeySequence answerKey(int tag);

    // Non-visual components.
    coolctrls::TCoolImages &CoolImages() const { return *m_coolImages; }
    platform::TTimer &Timer() const { return *m_timer; }
    TMidiGen &MidiGen() const { return *m_midiGen; }
    raster32::TBitmap32List &BMPAnswers() const { return *m_bmpAnswers; }

    // Handlers (event wiring of the stored description).
    void FormCreate(QObject *sender);
    void FormClose(QObject *sender);
    void tsMainShow(QObject *sender);
    void bStartClick(QObject *sender);
    void bRepeatClick(QObject *sender);
    void bResetClick(QObject *sender);
    void cbLevelChange(QObject *sender);
    void TimerTimer(QObject *sender);
    void LabelMouseDown(QObject *sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void LabelMouseUp(QObject *sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);

    void InitQuiz();
    void AskQuestion();

    // The credits line of the ticker.
    static const char *const CreditsLine;

protected:
    void closeEvent(QCloseEvent *event) override;
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void useClassicTabFrame();
    void loadComponents();
    void wireEvents();
    void setHighScoreLabel(int score);
    void setUpAnswerKeys();
    void updateAnswerFocus();

    std::unique_ptr<Ui::TfMain> ui;
    // The image store's pictures, read (and decoding) from the moment the
    // description names them until loadComponents() puts them in the store.
    std::unique_ptr<coolctrls::TStoredPictures> m_storedPictures;
    coolctrls::TCoolImages *m_coolImages;    // children of the window
    platform::TTimer *m_timer;
    TMidiGen *m_midiGen;
    raster32::TBitmap32List *m_bmpAnswers;
};

} // namespace app
