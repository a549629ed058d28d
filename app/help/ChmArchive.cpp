#include "app/help/ChmArchive.h"

#include "app/TextEncoding.h"

#include <QFile>
#include <QFileInfo>

#include <type_traits>

#include <chm_lib.h>

#include <dlfcn.h>

namespace {

// chmlib is loaded when a help file is first opened, not with the program:
// most starts never show the help.
struct ChmLibrary
{
    decltype(&::chm_open) open = nullptr;
    decltype(&::chm_close) close = nullptr;
    decltype(&::chm_resolve_object) resolveObject = nullptr;
    decltype(&::chm_retrieve_object) retrieveObject = nullptr;
    decltype(&::chm_enumerate) enumerate = nullptr;
    // Why it could not be loaded; empty once it is.
    QString problem;
};

const ChmLibrary& chmLibrary()
{
    static const ChmLibrary library = [] {
        ChmLibrary loaded;
        const char* const name = "libchm.so.1";
        void* handle = ::dlopen(name, RTLD_LAZY | RTLD_LOCAL);
        auto find = [handle](auto& function, const char* symbol) {
            function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(
                ::dlsym(handle, symbol));
            return function != nullptr;
        };
        if (!handle || !find(loaded.open, "chm_open") || !find(loaded.close, "chm_close") ||
            !find(loaded.resolveObject, "chm_resolve_object") ||
            !find(loaded.retrieveObject, "chm_retrieve_object") ||
            !find(loaded.enumerate, "chm_enumerate")) {
            const char* why = ::dlerror();
            loaded.problem = QStringLiteral("the help reader %1 could not be loaded (%2)")
                                 .arg(QLatin1String(name), why ? QString::fromLocal8Bit(why)
                                                               : QStringLiteral("no reason given"));
        }
        // Kept loaded for the rest of the run, as a linked library would be.
        return loaded;
    }();
    return library;
}

// No object of the program's own help comes near this; a larger length is a
// damaged file, and reading it would only exhaust memory.
constexpr LONGUINT64 LargestObject = 64 * 1024 * 1024;

const QString OpenAction = QStringLiteral("open the help file");

QString absoluteObjectPath(const QString& path)
{
    return path.startsWith(QLatin1Char('/')) ? path : QLatin1Char('/') + path;
}

// Strings of the archive's description end at their first NUL byte.
QString descriptionString(const QByteArray& bytes)
{
    const qsizetype end = bytes.indexOf('\0');
    return textencoding::DecodeLine(end < 0 ? bytes : bytes.left(end));
}

int collectFile(chmFile*, chmUnitInfo* unit, void* context)
{
    static_cast<QStringList*>(context)->append(QString::fromUtf8(unit->path));
    return CHM_ENUMERATOR_CONTINUE;
}

} // namespace

ChmArchive::~ChmArchive()
{
    close();
}

FileResult ChmArchive::CheckReadable(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return FileResult::failure(
            describeFileError(OpenAction, path, QStringLiteral("it does not exist")));
    if (!info.isFile() || !info.isReadable())
        return FileResult::failure(
            describeFileError(OpenAction, path, QStringLiteral("it cannot be read")));
    return FileResult::success();
}

FileResult ChmArchive::open(const QString& path)
{
    close();
    if (FileResult readable = CheckReadable(path); !readable)
        return readable;
    const ChmLibrary& chm = chmLibrary();
    if (!chm.problem.isEmpty())
        return FileResult::failure(describeFileError(OpenAction, path, chm.problem));
    m_file = chm.open(QFile::encodeName(path).constData());
    if (!m_file)
        return FileResult::failure(
            describeFileError(OpenAction, path, QStringLiteral("it is not a compiled help file")));
    m_path = path;
    readDescription();
    return FileResult::success();
}

void ChmArchive::close()
{
    if (m_file)
        chmLibrary().close(m_file);
    m_file = nullptr;
    m_path.clear();
    m_contentsFile.clear();
    m_defaultTopic.clear();
    m_title.clear();
}

std::optional<QByteArray> ChmArchive::read(const QString& objectPath) const
{
    if (!m_file)
        return std::nullopt;
    chmUnitInfo unit{};
    const QByteArray name = absoluteObjectPath(objectPath).toUtf8();
    if (chmLibrary().resolveObject(m_file, name.constData(), &unit) != CHM_RESOLVE_SUCCESS)
        return std::nullopt;
    if (unit.length > LargestObject)
        return std::nullopt;
    QByteArray content(static_cast<qsizetype>(unit.length), Qt::Uninitialized);
    if (unit.length == 0)
        return content;
    const LONGINT64 got =
        chmLibrary().retrieveObject(m_file, &unit, reinterpret_cast<unsigned char*>(content.data()),
                                    0, static_cast<LONGINT64>(unit.length));
    if (got != static_cast<LONGINT64>(unit.length))
        return std::nullopt;
    return content;
}

QStringList ChmArchive::files() const
{
    QStringList names;
    if (m_file)
        chmLibrary().enumerate(m_file, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, collectFile,
                               &names);
    return names;
}

void ChmArchive::readDescription()
{
    // "#SYSTEM": a 4-byte version, then records of a 2-byte code, a 2-byte
    // length and that many bytes, all little-endian.
    const QByteArray system = read(QStringLiteral("/#SYSTEM")).value_or(QByteArray());
    qsizetype at = 4;
    while (at + 4 <= system.size()) {
        const auto byte = [&system](qsizetype i) { return static_cast<quint8>(system.at(i)); };
        const int code = byte(at) | byte(at + 1) << 8;
        const qsizetype length = byte(at + 2) | byte(at + 3) << 8;
        at += 4;
        if (at + length > system.size())
            break;
        const QString value = descriptionString(system.mid(at, length));
        at += length;
        if (value.isEmpty())
            continue;
        switch (code) {
        case 0:
            m_contentsFile = absoluteObjectPath(value);
            break;
        case 2:
            m_defaultTopic = absoluteObjectPath(value);
            break;
        case 3:
            m_title = value;
            break;
        default:
            break;
        }
    }
    if (m_contentsFile.isEmpty()) {
        for (const QString& name : files()) {
            if (name.endsWith(QLatin1String(".hhc"), Qt::CaseInsensitive)) {
                m_contentsFile = name;
                break;
            }
        }
    }
}
