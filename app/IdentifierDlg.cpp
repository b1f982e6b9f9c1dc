#include "app/IdentifierDlg.h"

#include "app/DialogArtwork.h"
#include "app/FixedTexts.h"
#include "app/IdentifierStore.h"
#include "app/res/ResourceIds.h"
#include "foundation/CarriedException.h"
#include "foundation/DynLibrary.h"
#include "foundation/Report.h"
#include "foundation/StructException.h"
#include "foundation/SysPaths.h"

namespace {
const COLORREF kEditColour = RGB(255, 255, 255);
const COLORREF kBackgroundColour = RGB(240, 240, 240);
const LANGID kUserLanguage = MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT);
// Posted to the dialog on a change of DPI, with the new DPI as wParam.
const UINT kShowArtworkMessage = WM_APP + 1;

CStr UserText(uint32_t stringId)
{
    CStr text;
    text.LoadFromStringTable(stringId, kUserLanguage, GetModuleHandleA(nullptr));
    return text;
}
}  // namespace

CIdentifierDlg::CIdentifierDlg(const CIdentifierStore& store, const CSysPaths& suiteFolder, CRunOutcome& outcome)
    : m_store(store), m_suiteFolder(suiteFolder), m_outcome(outcome)
{
    templateId = IDD_IDENTIFIER;
    try {
        m_currentIdentifier = m_store.GetOrCreate();
    } catch (...) {
        // The dialog then shows an empty identifier; CHANGE can still store one.
    }
}

BOOL CIdentifierDlg::OnInitDialog()
{
    ShowArtwork(WindowDpi(handle));
    // A button shows its face, but screen readers name it by its text: the face's word.
    ShowLabel(IDC_CHANGE, IDS_CHANGE_BUTTON);
    ShowLabel(IDC_CLOSE, IDS_CLOSE_BUTTON);
    SetWindowTextFormat("%s", kApplicationTitle);
    if (!m_editBrush)
        m_editBrush.Reset(CreateSolidBrush(kEditColour));
    if (!m_backgroundBrush)
        m_backgroundBrush.Reset(CreateSolidBrush(kBackgroundColour));
    ShowLabel(IDC_CURRENT_LABEL, IDS_CURRENT_IDENTIFIER);
    SetDlgItemTextFormat(IDC_CURRENT_IDENTIFIER, "%s", m_currentIdentifier.data);
    return TRUE;
}

LRESULT CIdentifierDlg::OnCtlColor(HDC dc, HWND control, UINT message)
{
    SetBkMode(dc, TRANSPARENT);
    const int id = GetDlgCtrlID(control);
    const bool identifierField = message == WM_CTLCOLORSTATIC && (id == IDC_CURRENT_IDENTIFIER || id == IDC_NEW_IDENTIFIER);
    return reinterpret_cast<LRESULT>(identifierField ? m_editBrush.Get() : m_backgroundBrush.Get());
}

LRESULT CIdentifierDlg::OnCommand(int id, int, HWND)
{
    switch (id) {
    case IDC_CHANGE:
        return ChangeIdentifier();
    case IDC_CLOSE:
        Close(0);
        return 0;
    default:
        // IDOK and IDCANCEL too: Enter and Escape do not close the dialog.
        return 0;
    }
}

LRESULT CIdentifierDlg::OnOtherMessage()
{
    // The dialog manager scales the dialog after this handler; the images follow it then.
    if (currentMessage.message == WM_DPICHANGED)
        PostMessageA(handle, kShowArtworkMessage, LOWORD(currentMessage.wParam), 0);
    return CDlgBase::OnOtherMessage();
}

LRESULT CIdentifierDlg::OnAppMessage()
{
    if (currentMessage.message != kShowArtworkMessage)
        return CDlgBase::OnAppMessage();
    ShowArtwork(static_cast<UINT>(currentMessage.wParam));
    return TRUE;
}

LRESULT CIdentifierDlg::OnDestroy()
{
    m_outcome.End(0);
    return 0;
}

int CIdentifierDlg::ChangeIdentifier()
{
    // Until the change is through, anything that escapes it leaves a failure behind: the old
    // identifier may be gone already.
    m_outcome.ChangeEnded(kFailureWithoutCode);
    int result = kFailureWithoutCode;
    bool identifierGone = false;   // from the delete until a fresh identifier is stored
    try {
        // Whatever may fail before the old identifier goes comes first: the libraries the change
        // needs and the new identifier itself (a pause of up to a second). The delete and the
        // store then follow each other at once, so that the machine is without an identity for
        // no longer than that. SHELL32 only serves here; the dialog comes up sooner without it
        // (see GetResidentFunction).
        const auto shellExecute = GetResidentFunction<decltype(&ShellExecuteExA)>("SHELL32.DLL", "ShellExecuteExA");
        const CStr identifier = m_store.Generate();
        m_store.Delete();
        identifierGone = true;
        m_store.Store(identifier);
        identifierGone = false;
        ShowLabel(IDC_NEW_LABEL, IDS_NEW_IDENTIFIER);
        SetDlgItemTextFormat(IDC_NEW_IDENTIFIER, "%s", identifier.data);
        const CStr collector = m_suiteFolder.Combine(kCollectorFileName);
        SHELLEXECUTEINFOA start = CollectorStart(handle, collector.data);
        shellExecute(&start);
        result = CollectorStartResult(reinterpret_cast<INT_PTR>(start.hInstApp));
        if (result != 0)
            ShowCollectorNotStarted(result);
    } catch (CStructException& failure) {
        result = ExitCodeOfFailure(failure.code);
        ShowFailure(failure, result, identifierGone);
    }
    m_outcome.ChangeEnded(result);
    return result;
}

// The shell shows no box of its own when the start fails: the dialog's failure row says why, and
// a quiet run ends with the code. In an unattended run nobody is there to answer its question
// about a program that came from the internet either. The call returns once the start is made,
// also where the shell would make it on a thread of its own: a quiet run ends right after.
SHELLEXECUTEINFOA CIdentifierDlg::CollectorStart(HWND owner, const char* file)
{
    SHELLEXECUTEINFOA start{};
    start.cbSize = sizeof start;
    start.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC | (IsUnattended() ? SEE_MASK_NOZONECHECKS : 0);
    start.hwnd = owner;
    start.lpVerb = "open";
    start.lpFile = file;
    start.lpParameters = kCollectorParameters;
    start.nShow = SW_SHOWNORMAL;
    return start;
}

int CIdentifierDlg::CollectorStartResult(INT_PTR shellExecuteResult)
{
    if (static_cast<UINT_PTR>(shellExecuteResult) > 32)
        return 0;
    // 0 means out of memory or resources; as an exit code it would read as success.
    if (shellExecuteResult == 0)
        return SE_ERR_OOM;
    return static_cast<int>(shellExecuteResult);
}

void CIdentifierDlg::ShowLabel(int controlId, uint32_t stringId)
{
    SetDlgItemTextFormat(controlId, "%s", UserText(stringId).data);
}

// The banner, the faces and the icons for `dpi`; each button takes its face's size.
void CIdentifierDlg::ShowArtwork(UINT dpi)
{
    const CArtwork artwork = ArtworkFor(dpi);
    // A banner of the size wanted is the one wanted: the template's at 100 %, which stays.
    const SIZE banner = ShownBitmapSize(GetItem(IDC_BANNER), STM_GETIMAGE);
    if (banner.cx != artwork.bannerSize.cx || banner.cy != artwork.bannerSize.cy)
        SetStaticBitmap(IDC_BANNER, artwork.banner, artwork.bannerSize);
    SetButtonBitmap(IDC_CHANGE, artwork.changeFace, artwork.faceSize);
    SetButtonBitmap(IDC_CLOSE, artwork.closeFace, artwork.faceSize);
    for (const int button : {IDC_CHANGE, IDC_CLOSE})
        CallCarrying([&] {
            FitButtonToImage(GetItem(button));
            return 0;
        });
    ShowIcon(ICON_SMALL, artwork.smallIcon, m_smallIcon);
    ShowIcon(ICON_BIG, artwork.bigIcon, m_bigIcon);
}

// The tool's icon in `size` pixels as the window's icon of this kind; the one shown before goes.
void CIdentifierDlg::ShowIcon(WPARAM kind, int size, COwnedIcon& shown)
{
    COwnedIcon icon(static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_VORTAG), IMAGE_ICON, size, size, 0)));
    SetIcon(icon.Get(), kind);
    shown = std::move(icon);
}

// The row of the new identifier says that the change failed, and why: the failure's own
// description (the system's message for an error code, the fault's for a hardware fault) and
// the code that ends the tool, hexadecimal for a fault's NTSTATUS. Nothing shows without a window.
void CIdentifierDlg::ShowFailure(const CStructException& failure, int result, bool identifierGone)
{
    ShowLabel(IDC_NEW_LABEL, IDS_CHANGE_FAILED);
    CStr reason(failure.what());
    reason.TrimRight().TrimLeft();   // the system's messages end in a line break
    const CStr code = result < 0 ? CStr().Format("0x%08X", static_cast<unsigned>(result)) : CStr().Format("%d", result);
    // A code the system has no words for in any language is still named as an error.
    if (reason.EqualsNoCase(""))
        SetDlgItemTextFormat(IDC_NEW_IDENTIFIER, "%s %s", UserText(IDS_ERROR).data, code.data);
    else
        SetDlgItemTextFormat(IDC_NEW_IDENTIFIER, "%s (%s)", reason.data, code.data);
    if (identifierGone) {
        m_currentIdentifier = "";
        SetDlgItemTextFormat(IDC_CURRENT_IDENTIFIER, "%s", m_currentIdentifier.data);
    }
}

// The identifier was replaced and stays shown; the label above it says that the collector,
// which would have made the agent report under it, did not start, with the shell's code.
void CIdentifierDlg::ShowCollectorNotStarted(int result)
{
    SetDlgItemTextFormat(IDC_NEW_LABEL, "%s (%d): ", UserText(IDS_COLLECTOR_NOT_STARTED).data, result);
}
