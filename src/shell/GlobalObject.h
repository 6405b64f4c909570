#pragma once

#include <QString>

// The process-wide state: where the two INI files live and the product's
// strings. Fields change only through their setters, which keep the previous
// text when they reject a value.
class TGlobalObject {
public:
    TGlobalObject();

    const QString& HelpUrl() const { return helpUrl_; }
    const QString& ConverterIniPath() const { return converterIniPath_; }
    const QString& FormatIniPath() const { return formatIniPath_; }
    const QString& ProductName() const { return productName_; }
    const QString& VersionText() const { return versionText_; }
    const QString& WebSiteUrl() const { return webSiteUrl_; }
    const QString& SupportUrl() const { return supportUrl_; }

    void SetHelpUrl(const QString& value);          // ignored when empty
    void SetConverterIniPath(const QString& value); // ignored when shorter than 4 characters
    void SetFormatIniPath(const QString& value);    // ignored when shorter than 4 characters
    void SetProductName(const QString& value);      // ignored when empty
    void SetVersionText(const QString& value);      // ignored when empty
    void SetWebSiteUrl(const QString& value);       // ignored when empty

    // Both INI paths from the common application-data folder. The format INI
    // is the installed one unless the folder holds its own copy.
    void SetIniPathsFromFolder(const QString& folder);

private:
    QString helpUrl_;
    QString converterIniPath_;
    QString formatIniPath_;
    QString productName_;
    QString versionText_;
    QString webSiteUrl_;
    QString supportUrl_;
};

// The one instance, created by the main window and freed on exit; null
// outside that time.
TGlobalObject* GlobalObject();
void SetGlobalObject(TGlobalObject* object);

inline const QString kConverterIniName = QStringLiteral("varnelconverter.ini");
inline const QString kFormatIniName = QStringLiteral("varnelformat.ini");
