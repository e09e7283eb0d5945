#include "config_utility/shell/main_menu_page.h"

#include <QAction>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace vessor {

namespace {

QPushButton* pictureButton(const QString& picture, QAction* action, QWidget* parent)
{
    auto* button = new QPushButton(parent);
    button->setIcon(QIcon(picture));
    button->setIconSize(QSize(64, 64));
    button->setFixedSize(84, 84);
    button->setToolTip(action->text().remove(QLatin1Char('&')));
    button->setAccessibleName(button->toolTip());
    QObject::connect(button, &QPushButton::clicked, action, &QAction::trigger);
    return button;
}

} // namespace

MainMenuPage::MainMenuPage(PageContext& context, QAction* setUp, QAction* stopAndDownload,
                           QAction* viewPreviousGraph, QWidget* parent)
    : Page(context, parent)
{
    auto* picture = new QLabel(this);
    picture->setPixmap(QPixmap(QString::fromLatin1(PICTURE_MAIN_MENU)));
    picture->setFixedWidth(PICTURE_WIDTH);
    picture->setAlignment(Qt::AlignTop | Qt::AlignLeft);

    auto* heading = new QLabel(tr("Please select the procedure you wish to perform:"), this);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    heading->setWordWrap(true);

    setUp_ = pictureButton(QStringLiteral(":/vessor-usb/button-setup.png"), setUp, this);
    stop_ = pictureButton(QStringLiteral(":/vessor-usb/button-stop.png"), stopAndDownload, this);
    viewGraph_ = pictureButton(QStringLiteral(":/vessor-usb/button-graph.png"), viewPreviousGraph, this);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(18);
    grid->setVerticalSpacing(22);
    const QString texts[] = {tr("Set up and start the USB Data Logger."),
                             tr("Stop the USB Data Logger and\ndownload data."),
                             tr("View previously saved data.")};
    QPushButton* buttons[] = {setUp_, stop_, viewGraph_};
    for (int row = 0; row < 3; ++row) {
        auto* text = new QLabel(texts[row], this);
        text->setBuddy(buttons[row]);
        grid->addWidget(buttons[row], row, 0);
        grid->addWidget(text, row, 1, Qt::AlignVCenter | Qt::AlignLeft);
    }
    grid->setColumnStretch(1, 1);

    auto* right = new QVBoxLayout;
    right->setContentsMargins(0, 24, 24, 24);
    right->addWidget(heading);
    right->addSpacing(22);
    right->addLayout(grid);
    right->addStretch(1);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(28);
    layout->addWidget(picture);
    layout->addLayout(right, 1);
}

} // namespace vessor
