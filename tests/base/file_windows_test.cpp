// The replacement of a file where Windows has rules of its own: files that other
// programs hold open, the paths clerks type (accents, network shares, more than
// 260 characters), and the leftovers of programs that were ended.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "base/file.h"
#include "processo.h"
#include "righe.h"
#include "sostituisci.h"

namespace pliventa {
namespace {

namespace fs = std::filesystem;
using test::CartellaTemporanea;
using test::leggiFile;
using test::nomi;
using test::sostituisci;

/// Opens `percorso` as another program would, sharing only `condivisione`.
HANDLE apriComeAltroProgramma(const std::string& percorso, DWORD condivisione) {
    return ::CreateFileW(test::daUtf8(percorso).c_str(), GENERIC_READ | GENERIC_WRITE, condivisione,
                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool sottoWine() {
    return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

// The window and its views keep the work file open; an import puts a new one in
// its place all the same, and they go on reading the old one.
TEST(SostituzioneWindows, AFileOurReaderHoldsOpenIsReplaced) {
    CartellaTemporanea dir;
    const std::string out = dir.scrivi("iciview.out", "vecchio");
    const Esito<int> lettore = apriInLettura(out);
    ASSERT_TRUE(lettore.ok()) << lettore.errore().descrizione();
    const EsitoVuoto r = sostituisci(out, "nuovo");
    char letto[8] = {};
    EXPECT_EQ(leggiDallaPosizione(*lettore, letto, 7, 0), 7);
    (void)chiudiDescrittore(*lettore);
    if (!r.ok() && sottoWine()) {
        // Wine renames over no open file, whatever it shares: the path stays for
        // real Windows, and what Wine can show is that nothing was lost.
        EXPECT_EQ(r.errore().motivo, "il file è aperto in un altro programma");
        EXPECT_EQ(leggiFile(out), "vecchio");
        EXPECT_EQ(nomi(dir), std::vector<std::string>{"iciview.out"});
        GTEST_SKIP() << "Wine cannot replace a file that is open";
    }
    ASSERT_TRUE(r.ok()) << r.errore().descrizione();
    EXPECT_STREQ(letto, "vecchio");
    EXPECT_EQ(leggiFile(out), "nuovo");
    EXPECT_EQ(nomi(dir), std::vector<std::string>{"iciview.out"});
}

// A workbook open in the spreadsheet program cannot be replaced: the error says
// so, naming it, and the old book and nothing else stays in the folder.
TEST(SostituzioneWindows, AFileAnotherProgramLocksIsAnErrorThatKeepsIt) {
    CartellaTemporanea dir;
    const std::string out = dir.scrivi("libro.xlsx", "vecchio");
    const HANDLE altro = apriComeAltroProgramma(out, FILE_SHARE_READ);
    ASSERT_NE(altro, INVALID_HANDLE_VALUE);
    const EsitoVuoto r = sostituisci(out, "nuovo");
    ::CloseHandle(altro);
    ASSERT_FALSE(r.ok());
    EXPECT_EQ(r.errore().codice, CodiceErrore::InputOutput);
    EXPECT_EQ(r.errore().descrizione(), out + ": il file è aperto in un altro programma");
    EXPECT_EQ(leggiFile(out), "vecchio");
    EXPECT_EQ(nomi(dir), std::vector<std::string>{"libro.xlsx"});
}

/// `percorso`, a path on drive C:, as the same file on a network share: under
/// Wine the share \\ufficio\c that the build's Wine prefix maps to drive C:, on
/// Windows the drive's administrative share.
std::string sullaCondivisione(const std::string& percorso) {
    return (sottoWine() ? "\\\\ufficio\\c" : "\\\\localhost\\C$") + percorso.substr(2);
}

// Folders with accents and blanks, a network share, a path past the old limit of
// 260 characters, "/" for "\": each is read, replaced, and known as itself.
TEST(SostituzioneWindows, PathsAsClerksTypeThem) {
    CartellaTemporanea dir;
    const std::string base = test::utf8(dir.percorso());
    ASSERT_EQ(base.substr(1, 2), ":\\") << base;
    std::string lunga = base;
    while (lunga.size() < 300) {
        lunga += "\\cartella dei versamenti";
    }
    fs::create_directories(test::daUtf8(lunga));
    fs::create_directories(test::daUtf8(base + "\\Città"));
    const std::string cartelle[] = {base + "\\Città", sullaCondivisione(base + "\\Città"), lunga,
                                    lunga + "\\..\\cartella dei versamenti"};
    for (const std::string& cartella : cartelle) {
        SCOPED_TRACE(cartella);
        const std::string file = cartella + "\\versamenti 2003.txt";
        ASSERT_TRUE(sostituisci(file, "primo").ok());
        ASSERT_TRUE(sostituisci(file, "secondo").ok());
        const Esito<int> fd = apriInLettura(file);
        ASSERT_TRUE(fd.ok()) << fd.errore().descrizione();
        char letto[8] = {};
        EXPECT_EQ(leggiDallaPosizione(*fd, letto, 7, 0), 7);
        EXPECT_STREQ(letto, "secondo");
        (void)chiudiDescrittore(*fd);
        std::string barre = file;
        std::replace(barre.begin(), barre.end(), '\\', '/');
        EXPECT_FALSE(uscitaDistinta(file, barre, "il file da importare").ok());
    }
    // The same file on the drive and on the share is its own input.
    EXPECT_TRUE(
        stessoFile(cartelle[0] + "\\versamenti 2003.txt", cartelle[1] + "\\versamenti 2003.txt"));
    EXPECT_FALSE(
        stessoFile(cartelle[0] + "\\versamenti 2003.txt", cartelle[2] + "\\versamenti 2003.txt"));
}

// A program ended from outside (Task Manager, a shutdown) leaves its named new
// file; the next new file in the folder removes it once that program is gone.
TEST(SostituzioneWindows, TheLeftoverOfAnEndedProgramIsRemovedByTheNextOne) {
    CartellaTemporanea dir;
    // A process that has ended: its number names no running program.
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    wchar_t riga[] = L"cmd.exe /c exit 0";
    ASSERT_TRUE(::CreateProcessW(nullptr, riga, nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                                 nullptr, &si, &pi));
    ::WaitForSingleObject(pi.hProcess, INFINITE);
    const long finito = static_cast<long>(pi.dwProcessId);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    const std::string avanzo = nomeTemporaneo(finito, 3);
    const std::string vivo = nomeTemporaneo(static_cast<long>(::GetCurrentProcessId()), 9);
    dir.scrivi(avanzo, "mezzo lavoro");
    dir.scrivi(vivo, "il nostro");  // this process's own names are never taken
    ASSERT_TRUE(sostituisci(dir.file("out"), "nuovo").ok());
    EXPECT_EQ(nomi(dir), (std::vector<std::string>{vivo, "out"}));
}

}  // namespace
}  // namespace pliventa
