#include "shell/TfrmAbout.h"

#include "platform/ShellActions.h"
#include "platform/Themes.h"
#include "shell/GlobalObject.h"

#include <QLabel>
#include <QPushButton>

TfrmAbout::TfrmAbout(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("About"));
    setFixedSize(330, 177);
    setModal(true);

    lblAppNameVer = new QLabel(this);
    lblAppNameVer->setGeometry(20, 18, 290, 26);
    QFont bold = lblAppNameVer->font();
    bold.setBold(true);
    bold.setPointSize(bold.pointSize() + 3);
    lblAppNameVer->setFont(bold);

    lblRights1 = new QLabel(QStringLiteral("Copyright \u00A9 2026 The Varnel developers."), this);
    lblRights1->setGeometry(20, 56, 290, 20);
    lblRights2 = new QLabel(QStringLiteral("All rights reserved."), this);
    lblRights2->setGeometry(20, 76, 290, 20);

    lblWebSite = new QLabel(this);
    lblWebSite->setGeometry(20, 104, 290, 20);
    lblWebSite->setTextFormat(Qt::RichText);
    lblWebSite->setCursor(Qt::PointingHandCursor);
    connect(lblWebSite, &QLabel::linkActivated, this, [](const QString& url) { OpenWebPage(url); });

    btnOk = new QPushButton(QStringLiteral("&Ok"), this);
    btnOk->setGeometry(235, 138, 80, 26);
    btnOk->setDefault(true);
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
}

void TfrmAbout::showEvent(QShowEvent* event)
{
    ApplyCurrentTheme(this);
    if (const TGlobalObject* global = GlobalObject()) {
        lblAppNameVer->setText(global->ProductName() + global->VersionText());
        lblWebSite->setText(QStringLiteral("<a href=\"%1\">%1</a>").arg(global->WebSiteUrl().toHtmlEscaped()));
    }
    QDialog::showEvent(event);
}
