#include "app/frm_about.h"

#include <QPixmap>
#include <QPushButton>

#include "app/controls.h"
#include "app/pictures.h"
#include "app/qt_ui.h"
#include "shell/main_window.h"

namespace zepo::qt {

namespace {

QLabel* addPicture(QWidget* parent, const char* name, const QImage& image, const QRect& rect) {
  auto* picture = new QLabel(parent);
  picture->setObjectName(name);
  picture->setGeometry(rect);
  picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  picture->setPixmap(QPixmap::fromImage(image));
  return picture;
}

}  // namespace

FrmAboutWindow::FrmAboutWindow(QtUi& ui)
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                           Qt::MSWindowsFixedSizeDialogHint),
      ui_(ui) {
  const Twips& tw = ui.twips();
  setObjectName("frmAbout");
  setWindowTitle("Informazioni su MiaApplicazione");
  setWindowIcon(appIcon());
  QFont font = windowFont();
  setFont(font);
  setModal(false);
  setFixedSize(tw.size(5715, 4305));
  QPalette blackText = palette();
  blackText.setColor(QPalette::WindowText, Qt::black);

  // Created in tab-index order.
  auto* cmdOK = addButton(this, "cmdOK", "OK", tw.rect(960, 3720, 1260, 345), font);
  cmdOK->setAutoDefault(true);
  cmdOK->setDefault(true);
  auto* lblDescription =
      addLabel(this, "lblDescription", "Procedura di installazione del lato client di ZEPO",
               tw.rect(3360, 1125, 1965, 570), font);
  lblDescription->setPalette(blackText);
  lblTitle_ =
      addLabel(this, "lblTitle", "Titolo applicazione", tw.rect(3360, 240, 2085, 480), font);
  lblTitle_->setPalette(blackText);
  lblVersion_ = addLabel(this, "lblVersion", "Versione", tw.rect(3360, 780, 1995, 225), font);
  addPicture(this, "picIcon", installerPicture(), tw.rect(120, 240, 2985, 1755));
  addPicture(this, "Picture1", makerPicture(), tw.rect(3240, 2400, 2175, 1695));
  addLabel(this, "Label1", kMaker, tw.rect(240, 2640, 2775, 255), designFont("Arial", 9.75, true));
  addLabel(this, "Label2", kStreet, tw.rect(240, 3000, 2775, 255), designFont("Arial", 8.25));
  addLabel(this, "Label3", kCity, tw.rect(240, 3240, 2895, 255), designFont("Arial", 8.25));

  // The etched separator: a white band two pixels high under a grey line one
  // pixel high drawn inside its bounds at the top of the band.
  int y = tw.px(2280);
  auto* white = new LineControl(this, "Line1_0", Qt::white,
                                QRect(tw.px(105), y, tw.px(5654) - tw.px(105), 2));
  auto* grey = new LineControl(this, "Line1_1", QColor(128, 128, 128),
                               QRect(tw.px(90), y, tw.px(5654) - tw.px(90), 1));
  white->lower();
  grey->raise();

  cmdOK->setFocus();
  connect(cmdOK, &QPushButton::clicked, this, [this] { ui_.runEvent(frmAbout::cmdOK_Click); });
}

void FrmAboutWindow::showRecord() {
  const FrmAbout& record = ui_.app().frmAbout;
  setWindowTitle(QString::fromStdString(record.caption));
  lblTitle_->setText(QString::fromStdString(record.lblTitle));
  lblVersion_->setText(QString::fromStdString(record.lblVersion));
}

void FrmAboutWindow::reject() {
  ui_.runEvent(frmAbout::cmdOK_Click);
}

}  // namespace zepo::qt
