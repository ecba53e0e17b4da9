#include "Commands.h"

#include <vector>

namespace {

QStringList words(const char *list)
{
    return QString::fromLatin1(list).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

const char *const RecordOptions = "-u -p --url --change-url --exp-url --notes --category "
                                  "--subcategory --expires --notify-expire --change "
                                  "--notify-change --generate --length --no-digits --no-symbols "
                                  "--exclude-similar";

const char *const GeneratorOptionWords = "--length --no-digits --no-symbols --exclude-similar";

const std::vector<CommandEntry> &table()
{
    static const std::vector<CommandEntry> commands = {
        {QLatin1String("create"), 1, 1, words("--no-password --kdf-ops --kdf-mem"),
         QLatin1String("create FILE [--no-password] [--kdf-ops N --kdf-mem MIB]"), runCreate},
        {QLatin1String("ls"), 1, 1, words("--tree"), QLatin1String("ls FILE [--tree]"), runLs},
        {QLatin1String("search"), 2, 2, {}, QLatin1String("search FILE TEXT"), runSearch},
        {QLatin1String("show"), 2, 2, words("--show-password"),
         QLatin1String("show FILE SERVICE [--show-password]"), runShow},
        {QLatin1String("add"), 2, 2, words(RecordOptions),
         QLatin1String("add FILE SERVICE [-u USER] [-p] [--url U] [--change-url U] [--exp-url U]\n"
                       "                 [--notes T] [--category C] [--subcategory S]\n"
                       "                 [--expires YYYY-MM-DD] [--notify-expire DAYS]\n"
                       "                 [--change YYYY-MM-DD] [--notify-change DAYS]\n"
                       "                 [--generate [generate's options]]"),
         runAdd},
        {QLatin1String("edit"), 2, 2, words(RecordOptions) + words("--rename"),
         QLatin1String("edit FILE SERVICE [same options as add] [--rename NEW]"), runEdit},
        {QLatin1String("rm"), 2, 2, {}, QLatin1String("rm FILE SERVICE"), runRm},
        {QLatin1String("mv"), 2, 2, words("--category --subcategory"),
         QLatin1String("mv FILE SERVICE [--category C] [--subcategory S]"), runMv},
        {QLatin1String("category"), 3, 4, words("--keep"),
         QLatin1String("category FILE add|rm|rename NAME [NEW] [--keep]"), runCategory},
        {QLatin1String("subcategory"), 4, 5, words("--keep"),
         QLatin1String("subcategory FILE CATEGORY add|rm|rename|move NAME [NEW|TARGET] [--keep]"),
         runSubcategory},
        {QLatin1String("check"), 1, 1, {}, QLatin1String("check FILE"), runCheck},
        {QLatin1String("passwd"), 1, 1, {}, QLatin1String("passwd FILE"), runPasswd},
        {QLatin1String("import"), 2, 2, {}, QLatin1String("import FILE OTHER"), runImport},
        {QLatin1String("merge"), 2, 2, {}, QLatin1String("merge FILE OTHER"), runMerge},
        {QLatin1String("generate"), 0, 0, words(GeneratorOptionWords),
         QLatin1String("generate [--length N] [--no-symbols] [--no-digits] [--exclude-similar]"),
         runGenerate},
    };
    return commands;
}

} // namespace

std::span<const CommandEntry> commandTable()
{
    return table();
}

const CommandEntry *findCommand(const QString &name)
{
    for (const CommandEntry &entry : table()) {
        if (entry.name == name) {
            return &entry;
        }
    }
    return nullptr;
}

QString helpText()
{
    QString text = QStringLiteral("Usage: vellumor-cli COMMAND FILE ... [--password-stdin]\n"
                                  "Works on a Vellumor password file from the command line.\n\n"
                                  "Commands:\n");
    for (const CommandEntry &entry : table()) {
        text += QLatin1String("  vellumor-cli ") + entry.synopsis + QLatin1Char('\n');
    }
    text += QStringLiteral(
        "\n"
        "  create      a new, empty file (refuses an existing one)\n"
        "  ls          the services, or with --tree the categories and subcategories too\n"
        "  search      the services whose name, user name, URL or notes contain TEXT,\n"
        "              whatever the case\n"
        "  show        every field of a record; the password only with --show-password\n"
        "  add, edit   a record; -p asks for its password, --generate makes one (not\n"
        "              shown: see show or clip); edit changes only what is given\n"
        "              --expires never and --notify-expire off (likewise --change and\n"
        "              --notify-change) switch a date or notice off; --category \"\"\n"
        "              means no category\n"
        "  rm, mv      delete a record, or move it (no --category: to no category)\n"
        "  category, subcategory\n"
        "              add, delete (with --keep the records stay), rename, move\n"
        "  check       the records whose expiration or change is due or near\n"
        "  passwd      change the file password; an empty one removes it\n"
        "  import      the other file's categories and subcategories\n"
        "  merge       as import, and its records; prints how many were added\n"
        "  generate    a random password (default 20 characters: letters, digits,\n"
        "              symbols) on standard output, its estimated strength in bits\n"
        "              on standard error; --exclude-similar leaves out 0 O o 1 l I |\n"
        "\n"
        "Options:\n"
        "  --password-stdin  read passwords from standard input, one line each: the file's,\n"
        "                    then the other file's (import, merge), the record's (-p) or\n"
        "                    the new one (create, passwd); without it they are asked on\n"
        "                    the terminal. A file without password needs no line.\n"
        "  --kdf-ops N --kdf-mem MIB\n"
        "                    key derivation cost of a new file (default 3 and 256,\n"
        "                    at most 4 and 1024)\n"
        "  --                the words after it are no options (a service named \"-x\")\n"
        "  -u=VALUE          a value that starts with \"-\" is given with \"=\"\n"
        "  -h, --help        this text\n"
        "  --version         the version\n"
        "\n"
        "Every change is saved at once; the previous version stays as FILE.bak.\n"
        "When FILE was changed elsewhere since the command read it (another device\n"
        "through a sync folder, another program), those changes are merged, not\n"
        "overwritten, and what was merged is told on standard error.\n"
        "Exit status: 0 done, 1 failed, 2 wrong command line.\n");
    return text;
}
