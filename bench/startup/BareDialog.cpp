// The reference for start-up measurements: a plain Qt 6 QDialog with the
// same five controls as the program's dialog, laid out by hand.
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QDialog dialog;
  dialog.setWindowTitle("Velkast v1.1");
  dialog.resize(250, 242);
  auto* input = new QLineEdit(&dialog);
  input->setGeometry(11, 128, 231, 23);
  auto* output = new QLineEdit(&dialog);
  output->setGeometry(11, 187, 232, 23);
  output->setReadOnly(true);
  auto* decrypt = new QPushButton("Decrypt", &dialog);
  decrypt->setGeometry(165, 11, 75, 23);
  auto* encrypt = new QPushButton("Encrypt", &dialog);
  encrypt->setGeometry(165, 47, 75, 23);
  auto* label = new QLabel("Using AES Encryption", &dialog);
  label->setGeometry(11, 11, 118, 13);
  return dialog.exec();
}
