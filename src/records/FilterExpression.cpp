#include "records/FilterExpression.h"

#include "core/Conversions.h"
#include "records/ClientRecord.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QStringList>
#include <sqlite3.h>

namespace halcyra {
namespace {

struct Token
{
    enum class Kind { Word, Column, Text, Number, Date, Op, Open, Close, Comma, End, Bad };
    Kind kind = Kind::End;
    QString text; // the characters as typed
    QVariant value;
    qsizetype position = 0; // from 0
};

bool isWordStart(QChar c)
{
    return c.isLetter() || c == u'_';
}

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

class Lexer
{
public:
    explicit Lexer(const QString& text) : m_text(text) {}

    // Splits the whole text; a character that starts no token gives one Bad token.
    std::vector<Token> tokens()
    {
        std::vector<Token> result;
        for (;;) {
            Token token = next();
            result.push_back(token);
            if (token.kind == Token::Kind::End || token.kind == Token::Kind::Bad)
                return result;
        }
    }

private:
    Token next()
    {
        while (m_at < m_text.size() && m_text.at(m_at).isSpace())
            ++m_at;
        Token token;
        token.position = m_at;
        if (m_at >= m_text.size())
            return token;
        const QChar c = m_text.at(m_at);
        const qsizetype start = m_at;
        if (isWordStart(c)) {
            while (m_at < m_text.size() && isWordChar(m_text.at(m_at)))
                ++m_at;
            token.kind = Token::Kind::Word;
        } else if (c == u'[') {
            const qsizetype end = m_text.indexOf(u']', m_at + 1);
            if (end < 0)
                return bad(start, m_text.size());
            token.kind = Token::Kind::Column;
            token.value = m_text.mid(m_at + 1, end - m_at - 1);
            m_at = end + 1;
        } else if (c == u'\'' || c == u'"') {
            // A quote inside is written twice, as in the desktop databases. An empty text is
            // empty, not missing (a null text would be bound as NULL).
            QString value = QStringLiteral("");
            qsizetype at = m_at + 1;
            for (;;) {
                if (at >= m_text.size())
                    return bad(start, m_text.size());
                if (m_text.at(at) == c) {
                    if (at + 1 < m_text.size() && m_text.at(at + 1) == c) {
                        value += c;
                        at += 2;
                        continue;
                    }
                    break;
                }
                value += m_text.at(at++);
            }
            token.kind = Token::Kind::Text;
            token.value = value;
            m_at = at + 1;
        } else if (c == u'#') {
            const qsizetype end = m_text.indexOf(u'#', m_at + 1);
            if (end < 0)
                return bad(start, m_text.size());
            const QDate date = readDate(m_text.mid(m_at + 1, end - m_at - 1).trimmed());
            if (!date.isValid())
                return bad(start, end + 1);
            token.kind = Token::Kind::Date;
            token.value = date;
            m_at = end + 1;
        } else if (c.isDigit() ||
                   (c == u'.' && m_at + 1 < m_text.size() && m_text.at(m_at + 1).isDigit())) {
            while (m_at < m_text.size() && (m_text.at(m_at).isDigit() || m_text.at(m_at) == u'.'))
                ++m_at;
            if (m_at < m_text.size() && isWordChar(m_text.at(m_at)))
                return bad(start, m_at + 1);
            bool ok = false;
            const double number = m_text.mid(start, m_at - start).toDouble(&ok);
            if (!ok)
                return bad(start, m_at);
            token.kind = Token::Kind::Number;
            token.value = number;
        } else if (c == u'-' && m_at + 1 < m_text.size() && m_text.at(m_at + 1).isDigit()) {
            ++m_at;
            Token number = next();
            number.position = start;
            number.text = m_text.mid(start, m_at - start);
            if (number.kind == Token::Kind::Number)
                number.value = -number.value.toDouble();
            return number;
        } else if (c == u'<' || c == u'>' || c == u'=') {
            ++m_at;
            if (m_at < m_text.size() && c != u'=' &&
                (m_text.at(m_at) == u'=' || (c == u'<' && m_text.at(m_at) == u'>')))
                ++m_at;
            token.kind = Token::Kind::Op;
        } else if (c == u'(' || c == u')' || c == u',') {
            ++m_at;
            token.kind = c == u'('   ? Token::Kind::Open
                         : c == u')' ? Token::Kind::Close
                                     : Token::Kind::Comma;
        } else {
            return bad(start, start + 1);
        }
        token.text = m_text.mid(start, m_at - start);
        return token;
    }

    Token bad(qsizetype start, qsizetype end)
    {
        Token token;
        token.kind = Token::Kind::Bad;
        token.position = start;
        token.text = m_text.mid(start, end - start);
        m_at = end;
        return token;
    }

    const QString& m_text;
    qsizetype m_at = 0;
};

bool isKeyword(const Token& token, const char* keyword)
{
    return token.kind == Token::Kind::Word &&
           token.text.compare(QLatin1String(keyword), Qt::CaseInsensitive) == 0;
}

QString shown(const Token& token)
{
    if (token.kind == Token::Kind::End)
        return QStringLiteral("the end of the text");
    QString text = token.text;
    if (text.size() > 30)
        text = text.left(30) + QStringLiteral("...");
    return u'"' + text + QStringLiteral("\" (character %1)").arg(token.position + 1);
}

// Parentheses and Not are parsed by recursion: a limit on their nesting keeps a hostile or
// mistyped text from running the stack out. Nobody writes a filter this deep by hand.
constexpr int kMaxNesting = 200;

class Parser
{
public:
    Parser(const QString& text, const char* what) : m_tokens(Lexer(text).tokens()), m_what(what) {}

    Result<FilterNode> filter()
    {
        auto node = orExpression();
        if (!node)
            return node;
        if (peek().kind != Token::Kind::End)
            return refuse(peek(), QStringLiteral("And or Or was expected"));
        return node;
    }

    Result<std::vector<SortKey>> sort()
    {
        std::vector<SortKey> keys;
        for (;;) {
            auto column = columnAt(peek());
            if (!column)
                return Failure{column.error()};
            ++m_at;
            SortKey key{*column, false};
            if (isKeyword(peek(), "desc") || isKeyword(peek(), "asc")) {
                key.descending = isKeyword(peek(), "desc");
                ++m_at;
            }
            keys.push_back(key);
            if (peek().kind == Token::Kind::End)
                return keys;
            if (peek().kind != Token::Kind::Comma)
                return refuse(peek(), QStringLiteral("a comma, Asc or Desc was expected"));
            ++m_at;
        }
    }

private:
    const Token& peek() const { return m_tokens[std::min(m_at, m_tokens.size() - 1)]; }

    Failure refuse(const Token& token, const QString& reason) const
    {
        if (token.kind == Token::Kind::Bad)
            return fail(QStringLiteral("The %1 was not understood at %2: it is not part of a %1.")
                            .arg(QLatin1String(m_what), shown(token)));
        return fail(QStringLiteral("The %1 was not understood at %2: %3.")
                        .arg(QLatin1String(m_what), shown(token), reason));
    }

    // A column of the client list, or the reason the token is none.
    Result<int> columnAt(const Token& token) const
    {
        if (token.kind == Token::Kind::Column) {
            const int column = listColumnByName(token.value.toString());
            if (column < 0)
                return refuse(token, QStringLiteral("the client list has no such column"));
            return column;
        }
        if (token.kind == Token::Kind::Word) {
            const Token& after = m_tokens[std::min(m_at + 1, m_tokens.size() - 1)];
            if (after.kind == Token::Kind::Open)
                return refuse(token, QStringLiteral("function calls are not allowed"));
            const int column = listColumnByName(token.text);
            if (column < 0)
                return refuse(token, QStringLiteral("the client list has no such column"));
            return column;
        }
        return refuse(token, QStringLiteral("a column name was expected"));
    }

    Result<QVariant> literal()
    {
        const Token& token = peek();
        switch (token.kind) {
        case Token::Kind::Text:
        case Token::Kind::Number:
        case Token::Kind::Date:
            ++m_at;
            return token.value;
        case Token::Kind::Word:
            if (isKeyword(token, "true") || isKeyword(token, "false")) {
                ++m_at;
                return QVariant(isKeyword(token, "true") ? 1.0 : 0.0);
            }
            if (isKeyword(token, "select"))
                return refuse(token, QStringLiteral("subqueries are not allowed"));
            break;
        default:
            break;
        }
        return refuse(token, QStringLiteral("a value ('text', a number or #date#) was expected"));
    }

    Result<FilterNode> orExpression() { return chain(FilterNode::Kind::Or, "or"); }

    Result<FilterNode> chain(FilterNode::Kind kind, const char* keyword)
    {
        auto first =
            kind == FilterNode::Kind::Or ? chain(FilterNode::Kind::And, "and") : notExpression();
        if (!first || !isKeyword(peek(), keyword))
            return first;
        FilterNode node;
        node.kind = kind;
        node.children.push_back(std::move(*first));
        while (isKeyword(peek(), keyword)) {
            ++m_at;
            auto next = kind == FilterNode::Kind::Or ? chain(FilterNode::Kind::And, "and")
                                                     : notExpression();
            if (!next)
                return next;
            node.children.push_back(std::move(*next));
        }
        return node;
    }

    // Counts one level of nesting while it lives.
    class Nesting
    {
    public:
        explicit Nesting(int& depth) : m_depth(++depth) {}
        ~Nesting() { --m_depth; }
        Nesting(const Nesting&) = delete;
        Nesting& operator=(const Nesting&) = delete;
        bool tooDeep() const { return m_depth > kMaxNesting; }

    private:
        int& m_depth;
    };

    Failure tooDeep(const Token& token) const
    {
        return refuse(
            token,
            QStringLiteral("parentheses and Not nest deeper than %1 levels").arg(kMaxNesting));
    }

    Result<FilterNode> notExpression()
    {
        if (!isKeyword(peek(), "not"))
            return predicate();
        const Nesting nesting(m_depth);
        if (nesting.tooDeep())
            return tooDeep(peek());
        ++m_at;
        auto inner = notExpression();
        if (!inner)
            return inner;
        FilterNode node;
        node.kind = FilterNode::Kind::Not;
        node.children.push_back(std::move(*inner));
        return node;
    }

    Result<FilterNode> predicate()
    {
        if (peek().kind == Token::Kind::Open) {
            const Nesting nesting(m_depth);
            if (nesting.tooDeep())
                return tooDeep(peek());
            ++m_at;
            auto inner = orExpression();
            if (!inner)
                return inner;
            if (peek().kind != Token::Kind::Close)
                return refuse(peek(), QStringLiteral("a closing parenthesis was expected"));
            ++m_at;
            return inner;
        }
        auto column = columnAt(peek());
        if (!column)
            return Failure{column.error()};
        ++m_at;
        FilterNode node;
        node.column = *column;
        if (isKeyword(peek(), "is")) {
            ++m_at;
            node.kind = FilterNode::Kind::IsNull;
            if (isKeyword(peek(), "not")) {
                node.negated = true;
                ++m_at;
            }
            if (!isKeyword(peek(), "null"))
                return refuse(peek(), QStringLiteral("Null was expected after Is"));
            ++m_at;
            return node;
        }
        if (isKeyword(peek(), "not")) {
            node.negated = true;
            ++m_at;
            if (!isKeyword(peek(), "like") && !isKeyword(peek(), "between") &&
                !isKeyword(peek(), "in"))
                return refuse(peek(), QStringLiteral("Like, Between or In was expected"));
        }
        const Token& word = peek();
        if (word.kind == Token::Kind::Op) {
            ++m_at;
            node.kind = FilterNode::Kind::Compare;
            node.op = word.text;
            return withValues(std::move(node), 1);
        }
        if (isKeyword(word, "like")) {
            ++m_at;
            node.kind = FilterNode::Kind::Like;
            if (peek().kind != Token::Kind::Text)
                return refuse(peek(), QStringLiteral("a quoted pattern was expected after Like"));
            return withValues(std::move(node), 1);
        }
        if (isKeyword(word, "between")) {
            ++m_at;
            node.kind = FilterNode::Kind::Between;
            auto low = literal();
            if (!low)
                return Failure{low.error()};
            if (!isKeyword(peek(), "and"))
                return refuse(peek(), QStringLiteral("And was expected in Between ... And ..."));
            ++m_at;
            auto high = literal();
            if (!high)
                return Failure{high.error()};
            node.values = {*low, *high};
            return node;
        }
        if (isKeyword(word, "in")) {
            ++m_at;
            node.kind = FilterNode::Kind::In;
            if (peek().kind != Token::Kind::Open)
                return refuse(peek(), QStringLiteral("an opening parenthesis was expected"));
            ++m_at;
            for (;;) {
                auto value = literal();
                if (!value)
                    return Failure{value.error()};
                node.values.append(*value);
                if (peek().kind == Token::Kind::Close) {
                    ++m_at;
                    return node;
                }
                if (peek().kind != Token::Kind::Comma)
                    return refuse(peek(), QStringLiteral("a comma or a closing parenthesis was "
                                                         "expected"));
                ++m_at;
            }
        }
        return refuse(word, QStringLiteral("a comparison (=, <>, <, >, <=, >=, Like, Between, In "
                                           "or Is Null) was expected"));
    }

    Result<FilterNode> withValues(FilterNode node, int count)
    {
        for (int i = 0; i < count; ++i) {
            auto value = literal();
            if (!value)
                return Failure{value.error()};
            node.values.append(*value);
        }
        return node;
    }

    std::vector<Token> m_tokens;
    size_t m_at = 0;
    const char* m_what;
    int m_depth = 0; // parentheses and Not open around the current token
};

bool isTextColumn(int column)
{
    return column > columns::kCustomerId && column < columns::kDetailCount;
}

bool isYesNoColumn(int column)
{
    return column >= columns::yesNo(0);
}

QString quotedColumn(int column)
{
    return u'"' + columns::name(column) + u'"';
}

// The column as a value of the literal's kind, so "Age > 60" compares numbers although ages are
// kept as text, and dates kept as text compare as dates.
QString columnFor(int column, const QVariant& literal)
{
    const QString name = quotedColumn(column);
    if (literal.typeId() == QMetaType::QDate)
        return QStringLiteral("halcyra_date(") + name + u')';
    if (literal.typeId() == QMetaType::Double) {
        if (isYesNoColumn(column))
            return u'(' + name + QStringLiteral(" <> 0)");
        return isTextColumn(column) ? QStringLiteral("CAST(") + name + QStringLiteral(" AS REAL)")
                                    : name;
    }
    return isTextColumn(column) ? name + QStringLiteral(" COLLATE NOCASE") : name;
}

QVariant bound(const QVariant& literal)
{
    if (literal.typeId() == QMetaType::QDate)
        return literal.toDate().toString(Qt::ISODate);
    return literal;
}

// "*" any run of characters, "?" one character; everything else stands for itself.
QString likePattern(const QString& pattern, bool* escaped)
{
    QString result;
    for (const QChar c : pattern) {
        if (c == u'*') {
            result += u'%';
        } else if (c == u'?') {
            result += u'_';
        } else if (c == u'%' || c == u'_' || c == u'\\') {
            result += u'\\';
            result += c;
            *escaped = true;
        } else {
            result += c;
        }
    }
    return result;
}

void build(const FilterNode& node, SqlFragment& out)
{
    switch (node.kind) {
    case FilterNode::Kind::And:
    case FilterNode::Kind::Or: {
        out.sql += u'(';
        for (size_t i = 0; i < node.children.size(); ++i) {
            if (i > 0)
                out.sql += node.kind == FilterNode::Kind::And ? QStringLiteral(" AND ")
                                                              : QStringLiteral(" OR ");
            build(node.children[i], out);
        }
        out.sql += u')';
        return;
    }
    case FilterNode::Kind::Not:
        out.sql += QStringLiteral("(NOT ");
        build(node.children.front(), out);
        out.sql += u')';
        return;
    case FilterNode::Kind::IsNull:
        out.sql += u'(' + quotedColumn(node.column) +
                   (node.negated ? QStringLiteral(" IS NOT NULL)") : QStringLiteral(" IS NULL)"));
        return;
    case FilterNode::Kind::Compare:
        out.sql +=
            u'(' + columnFor(node.column, node.values[0]) + u' ' + node.op + QStringLiteral(" ?)");
        out.values.append(bound(node.values[0]));
        return;
    case FilterNode::Kind::Like: {
        bool escaped = false;
        const QString pattern = likePattern(node.values[0].toString(), &escaped);
        out.sql += u'(' + quotedColumn(node.column) +
                   (node.negated ? QStringLiteral(" NOT LIKE ?") : QStringLiteral(" LIKE ?")) +
                   (escaped ? QStringLiteral(" ESCAPE '\\')") : QStringLiteral(")"));
        out.values.append(pattern);
        return;
    }
    case FilterNode::Kind::Between:
        out.sql += u'(' + columnFor(node.column, node.values[0]) +
                   (node.negated ? QStringLiteral(" NOT BETWEEN ? AND ?)")
                                 : QStringLiteral(" BETWEEN ? AND ?)"));
        out.values.append(bound(node.values[0]));
        out.values.append(bound(node.values[1]));
        return;
    case FilterNode::Kind::In: {
        QStringList marks;
        for (const QVariant& value : node.values) {
            marks << QStringLiteral("?");
            out.values.append(bound(value));
        }
        out.sql += u'(' + columnFor(node.column, node.values[0]) +
                   (node.negated ? QStringLiteral(" NOT IN (") : QStringLiteral(" IN (")) +
                   marks.join(u',') + QStringLiteral("))");
        return;
    }
    }
}

void sqlDate(sqlite3_context* context, int, sqlite3_value** arguments)
{
    const unsigned char* text = sqlite3_value_text(arguments[0]);
    if (!text) {
        sqlite3_result_null(context);
        return;
    }
    const QDate date = readDate(QString::fromUtf8(reinterpret_cast<const char*>(text)));
    if (!date.isValid()) {
        sqlite3_result_null(context);
        return;
    }
    const QByteArray iso = date.toString(Qt::ISODate).toLatin1();
    sqlite3_result_text(context, iso.constData(), static_cast<int>(iso.size()), SQLITE_TRANSIENT);
}

} // namespace

int listColumnByName(const QString& name)
{
    for (int column = 0; column < columns::kCount; ++column)
        if (columns::name(column).compare(name, Qt::CaseInsensitive) == 0)
            return column;
    return -1;
}

Result<FilterExpression> parseFilter(const QString& text)
{
    FilterExpression filter;
    filter.text = text;
    if (text.trimmed().isEmpty())
        return filter;
    auto root = Parser(text, "filter expression").filter();
    if (!root)
        return Failure{root.error()};
    filter.root = std::move(*root);
    return filter;
}

Result<SortOrder> parseSort(const QString& text)
{
    SortOrder order;
    order.text = text;
    if (text.trimmed().isEmpty())
        return order;
    auto keys = Parser(text, "sort column").sort();
    if (!keys)
        return Failure{keys.error()};
    order.keys = std::move(*keys);
    return order;
}

SqlFragment whereCondition(const FilterExpression& filter)
{
    SqlFragment fragment;
    if (filter.root)
        build(*filter.root, fragment);
    return fragment;
}

QString orderByList(const SortOrder& order)
{
    QStringList parts;
    bool lastDescending = false;
    for (const SortKey& key : order.keys) {
        if (key.column == columns::kCustomerId)
            continue;
        QString part = quotedColumn(key.column);
        if (key.column == columns::detail(16))
            part = QStringLiteral("halcyra_date(") + part + u')';
        else if (isTextColumn(key.column))
            part += QStringLiteral(" COLLATE NOCASE");
        if (key.descending)
            part += QStringLiteral(" DESC");
        parts << part;
        lastDescending = key.descending;
    }
    // The record number last, in the direction of the key before it, so that an index on
    // that key gives the whole order without a sort.
    for (const SortKey& key : order.keys)
        if (key.column == columns::kCustomerId) {
            parts << quotedColumn(0) + (key.descending ? QStringLiteral(" DESC") : QString());
            return parts.join(QStringLiteral(", "));
        }
    parts << quotedColumn(0) + (lastDescending ? QStringLiteral(" DESC") : QString());
    return parts.join(QStringLiteral(", "));
}

Status registerListFunctions(const QSqlDatabase& db)
{
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return fail(QStringLiteral("The client database is not an SQLite database."));
    auto* sqlite = *static_cast<sqlite3* const*>(handle.constData());
    if (!sqlite)
        return fail(QStringLiteral("The client database is not open."));
    if (sqlite3_create_function(sqlite, "halcyra_date", 1,
                                SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS, nullptr,
                                sqlDate, nullptr, nullptr) != SQLITE_OK)
        return fail(QString::fromUtf8(sqlite3_errmsg(sqlite)));
    return {};
}

} // namespace halcyra
