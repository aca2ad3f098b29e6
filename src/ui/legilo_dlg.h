#pragma once
// The article reader window on dialog template 104: the article box 1002 and
// the button 1007. The main window writes m_refs and m_pProv before each run.

#include "articles/provider.h"
#include "framework/dialog.h"
#include "index/article_ref.h"
#include "ui/kelimbo_resources.h"
#include "ui/resource_ids.h"

#include <vector>

class CLegiloDlg : public fw::Dialog {
public:
    explicit CLegiloDlg(fw::Dialog* pParent)
        : fw::Dialog(KelimboResources(), IDD_LEGILO_DIALOG, pParent) {}

    std::vector<ArticleRef> m_refs;  // the articles to show, in order
    cKelimboProv* m_pProv = nullptr; // the provider of the references' direction
};
