#include "shell/GlobalObject.h"

#include "platform/SystemFolders.h"

#include <QFileInfo>

namespace {
TGlobalObject*& Instance()
{
    static TGlobalObject* instance = nullptr;
    return instance;
}
} // namespace

TGlobalObject::TGlobalObject()
    : helpUrl_(QStringLiteral("https://varnel.example.org/help/")),
      converterIniPath_(kConverterIniName),
      formatIniPath_(kFormatIniName),
      productName_(QStringLiteral("Varnel")),
      versionText_(QStringLiteral(" ver 1.10 ")),
      webSiteUrl_(QStringLiteral("https://varnel.example.org/")),
      supportUrl_(QStringLiteral("https://varnel.example.org/support/"))
{
}

void TGlobalObject::SetHelpUrl(const QString& value)
{
    if (!value.isEmpty()) helpUrl_ = value;
}

void TGlobalObject::SetConverterIniPath(const QString& value)
{
    if (value.size() >= 4) converterIniPath_ = value;
}

void TGlobalObject::SetFormatIniPath(const QString& value)
{
    if (value.size() >= 4) formatIniPath_ = value;
}

void TGlobalObject::SetProductName(const QString& value)
{
    if (!value.isEmpty()) productName_ = value;
}

void TGlobalObject::SetVersionText(const QString& value)
{
    if (!value.isEmpty()) versionText_ = value;
}

void TGlobalObject::SetWebSiteUrl(const QString& value)
{
    if (!value.isEmpty()) webSiteUrl_ = value;
}

void TGlobalObject::SetIniPathsFromFolder(const QString& folder)
{
    SetConverterIniPath(folder + kConverterIniName);
    // A format INI in the settings folder overrides the installed one.
    const QString beside = folder + kFormatIniName;
    SetFormatIniPath(QFileInfo::exists(beside) ? beside : InstalledDataFolder() + QLatin1Char('/') + kFormatIniName);
}

TGlobalObject* GlobalObject() { return Instance(); }
void SetGlobalObject(TGlobalObject* object) { Instance() = object; }
