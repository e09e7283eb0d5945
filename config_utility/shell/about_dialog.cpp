#include "config_utility/shell/about_dialog.h"

#include "logger/product_info.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

namespace vessor {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("About Vessor USB"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* icon = new QLabel(this);
    icon->setPixmap(QPixmap(QStringLiteral(":/vessor-usb/vessor-usb-48.png")));
    icon->setAlignment(Qt::AlignTop);

    auto* version = new QLabel(QString::fromLatin1(product::VERSION_LINE), this);
    QFont bold = version->font();
    bold.setBold(true);
    version->setFont(bold);

    auto* contact = new QLabel(this);
    contact->setTextFormat(Qt::RichText);
    contact->setTextInteractionFlags(Qt::TextBrowserInteraction);
    contact->setOpenExternalLinks(true);
    contact->setText(QString::fromUtf8(product::CONTACT_HTML));

    auto* copyright = new QLabel(tr("Copyright \u00a9 Meridane Electronics Ltd."), this);

    auto* text = new QVBoxLayout;
    text->addWidget(version);
    text->addSpacing(6);
    text->addWidget(contact);
    text->addSpacing(6);
    text->addWidget(copyright);

    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addSpacing(12);
    top->addLayout(text, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->addLayout(top);
    layout->addSpacing(8);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace vessor
