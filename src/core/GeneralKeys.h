#pragma once

class SettingsFile;

// The general keys of the settings file, in section "defualt": where the user
// left the two lists and the panels. Read at start-up, written at exit, here
// and nowhere else.
struct GeneralKeys {
    int SoftwareInd = 0;  // the article list's current item
    int SiteInd = 0;  // the site list's current item
    int EditPanelWidth = 400;  // the content panel's width
    int CurArticlePnlWidth = 200;  // the remembered content width
    bool CbEditURL = false;  // the credentials row is shown
    bool Edit = false;  // the content panel is shown

    // Missing keys and values that are no number read as the defaults above.
    static GeneralKeys read(SettingsFile& settings);
    // In one rewrite, in the order the Windows original writes them, only
    // the keys that are missing or read as another value: no rewrite when
    // none is. False (with the settings file's lastError()) when it failed.
    bool write(SettingsFile& settings) const;
};
