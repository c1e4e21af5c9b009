#include "about/aboutdialog.h"
#include "ui_aboutdialog.h"

#include "about/helplinks.h"
#include "about/productinfo.h"
#include "platform/base/version.h"
#include "platform/ui/errorreport.h"
#include "platform/ui/keyboard.h"
#include "platform/ui/uifont.h"
#include "state/global.h"
#include "state/tablelines.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QShowEvent>

namespace velmora {

TForm2::TForm2(QWidget* parent, const QString& developerName)
    : QDialog(parent), m_ui(std::make_unique<Ui::TForm2>()), m_developerName(developerName) {
    setFont(windowFont());
    m_ui->setupUi(this);
    // Enter presses the focused button; none of them is a default button.
    letEnterPressFocusedButtons();
    setFixedSize(size());
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    // The design-time rows of the form, with the values the build configures.
    ValueListEditor* list = m_ui->ValueListEditor1;
    const QString configured[] = {QString(),
                                  QString(),
                                  QString(),
                                  m_developerName,
                                  QString::fromUtf16(product::ContactEmail),
                                  aboutPageText()};
    QList<std::pair<QString, QString>> rows;
    for (int row = 0; row < list->rowCount(); ++row)
        rows.append(
            {list->key(row), configured[row].isEmpty() ? list->value(row) : configured[row]});
    list->clearRows();
    for (const auto& [key, value] : rows)
        list->appendRow(key, value);

    connectGuarded(m_ui->Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connectGuarded(m_ui->Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    connectGuarded(m_ui->Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
    connectGuarded(m_ui->Button4, &QPushButton::clicked, this, [this] { Button4Click(); });
}

TForm2::~TForm2() = default;

ValueListEditor* TForm2::valueList() const {
    return m_ui->ValueListEditor1;
}

void TForm2::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        guarded([this] { FormShow(); });
}

void TForm2::keyPressEvent(QKeyEvent* event) {
    // No button is the default, so Enter in the list presses nothing; on a button it presses
    // that button (letEnterPressFocusedButtons), before the dialog sees it.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TForm2::FormShow() {
    language();
}

void TForm2::language() {
    setWindowTitle(text(AboutLine::Caption));
    ValueListEditor* list = m_ui->ValueListEditor1;
    list->clearRows();
    list->appendRow(text(AboutLine::Product), QString::fromUtf16(product::Name));
    list->appendRow(text(AboutLine::Version), QString::fromUtf16(version::Text16));
    list->appendRow(text(AboutLine::Modified), text(AboutLine::ModifiedDate));
    list->appendRow(text(AboutLine::Developer), developerRow());
    list->appendRow(QStringLiteral("E-mail"), QString::fromUtf16(product::ContactEmail));
    list->appendRow(text(AboutLine::WebPage), aboutPageText());
    m_ui->Button1->setText(text(AboutLine::GoToWebPage));
    m_ui->Button2->setText(text(AboutLine::VersionHistory));
    m_ui->Button3->setText(text(AboutLine::Licence));
    m_ui->Button4->setText(text(AboutLine::Close));
}

QString TForm2::developerRow() const {
    if (m_developerName != QStringView(product::DefaultDeveloperName))
        return m_developerName;
    const QString translated = text(AboutLine::DeveloperName);
    return translated.isEmpty() ? m_developerName : translated;
}

void TForm2::Button1Click() {
    openAboutPage();
}

void TForm2::Button2Click() {
    showVersionHistory(this);
}

void TForm2::Button3Click() {
    openLicence();
}

void TForm2::Button4Click() {
    reject();
}

} // namespace velmora
