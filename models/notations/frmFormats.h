#pragma once

#include "app/bascommon.h"
#include "models/notations/ColorNotations.h"
#include "models/notations/FormatChoices.h"
#include "scheme/SchemeColors.h"

#include <QDialog>

#include <array>

class Platform;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

// The "Color Formats" window: every notation of the current colour with a
// copy button and a tick for the "More Formats" submenus, the nearest named
// colours, the colour's contrast, the user's own templates with a live
// preview, and the scheme as modern CSS. Modeless; it follows the current
// colour and the scheme. Ticks and templates are kept in the settings as
// they change.
class frmFormats : public QDialog
{
    Q_OBJECT
public:
    frmFormats(Platform& platform, QString dataFolder, QWidget* parent);

    void setCurrentColor(Color color);
    void setScheme(const SchemeColors& scheme);
    Color currentColor() const { return m_color; }

    QTabWidget* tabFormats = nullptr;
    QLabel* lblSwatch = nullptr;
    // Per notation, in the built-in order: txtFmt<Name>, cmdCopy<Name>, chkFmt<Name>.
    std::array<QLineEdit*, notations::NotationCount> txtFormat{};
    std::array<QPushButton*, notations::NotationCount> cmdCopy{};
    std::array<QCheckBox*, notations::NotationCount> chkShown{};
    QLabel* lblNearestCss = nullptr;
    QLabel* lblNearestTailwind = nullptr;
    QLabel* lblContrast = nullptr;

    QListWidget* lstTemplates = nullptr;
    QLineEdit* txtTemplateName = nullptr;
    QLineEdit* txtTemplate = nullptr;
    QLabel* lblTemplatePreview = nullptr;
    QPushButton* cmdAddTemplate = nullptr;
    QPushButton* cmdRemoveTemplate = nullptr;
    QPushButton* cmdCopyTemplate = nullptr;

    QPlainTextEdit* txtSchemeCss = nullptr;
    QPushButton* cmdCopySchemeCss = nullptr;
    QComboBox* cmbLight = nullptr;
    QComboBox* cmbDark = nullptr;
    QPlainTextEdit* txtLightDark = nullptr;
    QPushButton* cmdCopyLightDark = nullptr;
    QLabel* lblSchemeNote = nullptr;

    QPushButton* cmdClose = nullptr;

signals:
    void choicesChanged(const FormatChoices& choices);

private:
    QWidget* buildNotationsTab();
    QWidget* buildTemplatesTab();
    QWidget* buildSchemeTab();
    void refreshNotations();
    void refreshTemplatePreview();
    void refreshTemplateList();
    void templateSelected();
    void templateEdited();
    void addTemplate();
    void removeTemplate();
    void loadSavedSchemes();
    void refreshLightDark();
    void storeChoices();
    void copy(const QString& text);

    Platform& m_platform;
    QString m_dataFolder;
    Color m_color = bascommon::White;
    SchemeColors m_scheme;
    FormatChoices m_choices;
    QList<SchemeColors> m_savedSchemes;
    bool m_filling = false;
};
