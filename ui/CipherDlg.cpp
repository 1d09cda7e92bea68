#include "ui/CipherDlg.h"

#include <cstdint>

#include "cipher/AesTextCipher.h"
#include "cipher/BuiltinKey.h"
#include "res/resource.h"

BEGIN_MESSAGE_MAP(CCipherDlg, CDialog)
ON_BN_CLICKED(IDC_DECRYPT, OnDecrypt)
ON_BN_CLICKED(IDC_ENCRYPT, OnEncrypt)
END_MESSAGE_MAP()

CCipherDlg::CCipherDlg(CWnd* pParent) : CDialog(IDD_MAIN_DIALOG, pParent) {
  m_hIcon = LoadIcon(AfxGetResourceHandle(), MAKEINTRESOURCE(IDR_MAINFRAME));
}

CCipherDlg::~CCipherDlg() = default;

void CCipherDlg::DoDataExchange(CDataExchange* pDX) {
  DDX_Text(pDX, IDC_INPUT, m_strInput);
  DDX_Text(pDX, IDC_OUTPUT, m_strOutput);
}

BOOL CCipherDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
  SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
  return TRUE;
}

void CCipherDlg::OnDecrypt() {
  UpdateData(TRUE);
  CAesTextCipher cipher(g_szBuiltinPassPhrase, g_nBuiltinKeySize);
  std::uint32_t nLength = 0;
  LPCWSTR pszResult = cipher.Decrypt(m_strInput.GetString(), &nLength);
  if (pszResult != nullptr)
    m_strOutput = pszResult;
  else
    m_strOutput = u"Unable to Decrypt";
  UpdateData(FALSE);
}

void CCipherDlg::OnEncrypt() {
  UpdateData(TRUE);
  CAesTextCipher cipher(g_szBuiltinPassPhrase, g_nBuiltinKeySize);
  std::int32_t nLength = 0;
  LPCWSTR pszResult = cipher.Encrypt(m_strInput.GetString(), &nLength);
  if (pszResult != nullptr)
    m_strOutput = pszResult;
  else
    m_strOutput = u"Unable to Encrypt";
  UpdateData(FALSE);
}
