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

const ArgumentInfo File{QLatin1String("FILE"), QLatin1String("The password file.")};
const ArgumentInfo Service{QLatin1String("SERVICE"),
                           QLatin1String("The record's service, in any case.")};
const ArgumentInfo Other{QLatin1String("OTHER"), QLatin1String("Another Vellumor file.")};

QLatin1String text(const char *words)
{
    return QLatin1String(words);
}

const std::vector<CommandEntry> &table()
{
    // One command per block: name, fewest and most arguments, options,
    // synopsis, summary, arguments, function.
    // clang-format off
    static const std::vector<CommandEntry> commands = {
        {text("create"), 1, 1, words("--no-password --kdf-ops --kdf-mem"),
         text("create FILE [--no-password] [--kdf-ops N --kdf-mem MIB]"),
         text("a new, empty file (refuses an existing one)"),
         {File}, runCreate},
        {text("ls"), 1, 1, words("--tree"),
         text("ls FILE [--tree]"),
         text("the services, or with --tree the categories and subcategories too"),
         {File}, runLs},
        {text("search"), 2, 2, {},
         text("search FILE TEXT"),
         text("the services whose name, user name, URL or notes contain TEXT,\n"
              "whatever the case"),
         {File, {text("TEXT"), text("What to look for.")}}, runSearch},
        {text("show"), 2, 2, words("--show-password"),
         text("show FILE SERVICE [--show-password]"),
         text("every field of a record; the password only with --show-password"),
         {File, Service}, runShow},
        {text("add"), 2, 2, words(RecordOptions),
         text("add FILE SERVICE [-u USER] [-p] [--url U] [--change-url U] [--exp-url U]\n"
              "[--notes T] [--category C] [--subcategory S]\n"
              "[--expires YYYY-MM-DD] [--notify-expire DAYS]\n"
              "[--change YYYY-MM-DD] [--notify-change DAYS]\n"
              "[--generate [generate's options]]"),
         text("a new record; -p asks for its password, --generate makes one (not\n"
              "shown: see show or clip); --category \"\" means no category"),
         {File, Service}, runAdd},
        {text("edit"), 2, 2, words(RecordOptions) + words("--rename"),
         text("edit FILE SERVICE [same options as add] [--rename NEW]"),
         text("changes only what is given; --expires never and --notify-expire off\n"
              "(likewise --change and --notify-change) switch a date or notice off"),
         {File, Service}, runEdit},
        {text("clip"), 2, 2, words("--user --timeout"),
         text("clip FILE SERVICE [--user] [--timeout S]"),
         text("the password on the clipboard (with --user the user name and\n"
              "password, joined as the program's copy command joins them), taken\n"
              "off after S seconds (default 10) unless something else was copied"),
         {File, Service}, runClip},
        {text("rm"), 2, 2, {},
         text("rm FILE SERVICE"),
         text("deletes a record"),
         {File, Service}, runRm},
        {text("mv"), 2, 2, words("--category --subcategory"),
         text("mv FILE SERVICE [--category C] [--subcategory S]"),
         text("moves a record (no --category: to no category)"),
         {File, Service}, runMv},
        {text("category"), 3, 4, words("--keep"),
         text("category FILE add|rm|rename NAME [NEW] [--keep]"),
         text("adds, deletes (with --keep the records stay) or renames a category"),
         {File, {text("ACTION"), text("add, rm or rename.")},
          {text("NAME"), text("The category.")},
          {text("[NEW]"), text("Its new name (rename).")}},
         runCategory},
        {text("subcategory"), 4, 5, words("--keep"),
         text("subcategory FILE CATEGORY add|rm|rename|move NAME [NEW|TARGET] [--keep]"),
         text("the same for a subcategory, which move takes to another category"),
         {File, {text("CATEGORY"), text("The category it belongs to.")},
          {text("ACTION"), text("add, rm, rename or move.")},
          {text("NAME"), text("The subcategory.")},
          {text("[NEW|TARGET]"), text("Its new name (rename) or category (move).")}},
         runSubcategory},
        {text("check"), 1, 1, {},
         text("check FILE"),
         text("the records whose expiration or change is due or near"),
         {File}, runCheck},
        {text("passwd"), 1, 1, {},
         text("passwd FILE"),
         text("changes the file password; an empty one removes it"),
         {File}, runPasswd},
        {text("import"), 2, 2, words("--format"),
         text("import FILE SOURCE [--format keepass-xml|keepassxc-csv|\n"
              "bitwarden-csv|chrome-csv|csv]"),
         text("without --format, the categories and subcategories of another\n"
              "Vellumor file; with it, the records of an export (KeePass 2 XML,\n"
              "KeePassXC, Bitwarden, a browser's CSV, or ours), groups becoming\n"
              "categories and subcategories; prints how many were added, as\n"
              "merge does. A fault in SOURCE is told with its line, and nothing\n"
              "is written"),
         {File, {text("SOURCE"), text("Another Vellumor file, or an export.")}}, runImport},
        {text("merge"), 2, 2, {},
         text("merge FILE OTHER"),
         text("the other file's categories, subcategories and records; prints how\n"
              "many were added"),
         {File, Other}, runMerge},
        {text("export"), 1, 1, words("--format -o --force"),
         text("export FILE --format csv|keepass-xml [-o OUT [--force]]"),
         text("every record with its category and subcategory, NOT encrypted, on\n"
              "standard output or into OUT (readable by its owner only; one that\n"
              "exists only with --force)"),
         {File}, runExport},
        {text("generate"), 0, 0, words(GeneratorOptionWords),
         text("generate [--length N] [--no-symbols] [--no-digits] [--exclude-similar]"),
         text("a random password (default 20 characters: letters, digits,\n"
              "symbols) on standard output, its estimated strength in bits\n"
              "on standard error; --exclude-similar leaves out 0 O o 1 l I |"),
         {}, runGenerate, false},
    };
    // clang-format on
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
