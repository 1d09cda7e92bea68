// The reference for start-up measurements: a plain Qt 6 QDialog built the
// way a Qt program would build the same window: the same five controls at
// the same pixel places, the same 8-point sans-serif font, caption, fixed
// size and window icon (read from the same icon file with Qt's own reader),
// the same tab order, focus and accessible names.
#include <QApplication>
#include <QBuffer>
#include <QDialog>
#include <QIcon>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

// res/Velkast.ico, built in as data.
extern const unsigned char g_abMainFrameIcon[];
extern const unsigned long g_abMainFrameIcon_size;

namespace {

QIcon WindowIcon() {
  QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(g_abMainFrameIcon),
                                             static_cast<qsizetype>(g_abMainFrameIcon_size));
  QBuffer buffer(&bytes);
  QImageReader reader(&buffer, "ico");
  QIcon icon;
  const int count = reader.imageCount();
  for (int i = 0; i < count && reader.jumpToImage(i); ++i)
    icon.addPixmap(QPixmap::fromImage(reader.read()));
  return icon;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QDialog dialog(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  QFont font = QApplication::font();
  font.setFamilies({QStringLiteral("sans-serif")});
  font.setStyleHint(QFont::SansSerif);
  font.setPointSize(8);
  dialog.setFont(font);
  dialog.setWindowTitle(QStringLiteral("Velkast v1.1"));
  dialog.setWindowIcon(WindowIcon());
  dialog.setFixedSize(292, 242);

  auto* input = new QLineEdit(&dialog);
  input->setGeometry(12, 128, 270, 23);
  input->setAccessibleName(QStringLiteral("Password or encrypted text"));
  auto* output = new QLineEdit(&dialog);
  output->setGeometry(12, 187, 272, 23);
  output->setReadOnly(true);
  output->setAccessibleName(QStringLiteral("Result"));
  auto* decrypt = new QPushButton(QStringLiteral("Decrypt"), &dialog);
  decrypt->setGeometry(193, 11, 87, 23);
  decrypt->setAutoDefault(false);
  auto* encrypt = new QPushButton(QStringLiteral("Encrypt"), &dialog);
  encrypt->setGeometry(193, 47, 87, 23);
  encrypt->setAutoDefault(false);
  auto* label = new QLabel(QStringLiteral("Using AES Encryption"), &dialog);
  label->setGeometry(12, 11, 139, 13);
  QWidget::setTabOrder(input, output);
  QWidget::setTabOrder(output, decrypt);
  QWidget::setTabOrder(decrypt, encrypt);
  input->setFocus();
  return dialog.exec();
}
