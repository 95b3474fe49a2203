#include "TeamServerSchema.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

namespace {

// One entry per version: the statements that lead from the version before.
// Never change an entry once released; add the next one.
const QList<QStringList>& steps()
{
    static const QList<QStringList> all = {
        // 1: the team's posts (each under the key its poster's computer made,
        // so a post sent twice is stored once), the sites members are working
        // on, and the forms one member taught for everyone.
        {
            QStringLiteral("CREATE TABLE qvbzevi.posts ("
                           " id bigserial PRIMARY KEY,"
                           " key uuid NOT NULL UNIQUE,"
                           " site text NOT NULL,"
                           " article text NOT NULL,"
                           " member text NOT NULL,"
                           " posted_at timestamptz NOT NULL,"
                           " form_url text NOT NULL DEFAULT '',"
                           " post_url text NOT NULL DEFAULT '',"
                           " by_hand boolean NOT NULL DEFAULT false,"
                           " withdrawn_at timestamptz)"),
            // The round of one article, site by site, newest first.
            QStringLiteral("CREATE INDEX posts_live ON qvbzevi.posts (article, site, posted_at DESC)"
                           " WHERE withdrawn_at IS NULL"),
            QStringLiteral("CREATE TABLE qvbzevi.claims ("
                           " article text NOT NULL,"
                           " site text NOT NULL,"
                           " member text NOT NULL,"
                           " until timestamptz NOT NULL,"
                           " PRIMARY KEY (article, site))"),
            QStringLiteral("CREATE INDEX claims_by_member ON qvbzevi.claims (article, member)"),
            QStringLiteral("CREATE TABLE qvbzevi.form_fields ("
                           " site text NOT NULL,"
                           " page text NOT NULL,"
                           " locator text NOT NULL,"
                           " form integer NOT NULL,"
                           " position integer NOT NULL,"
                           " target text NOT NULL,"
                           " taught_by text NOT NULL,"
                           " PRIMARY KEY (site, page, locator))"),
            // The first candidate, in the caller's order, without a live post
            // and without another member's live claim. The insert is the
            // arbiter: of two members asking at once, one gets the row and
            // the other's conditional update finds it taken. A post committed
            // while the candidates were read is looked for again after the
            // claim is made.
            QStringLiteral(
                "CREATE FUNCTION qvbzevi.claim_next(p_article text, p_member text, p_sites jsonb, p_seconds integer)"
                " RETURNS text LANGUAGE plpgsql AS $$\n"
                "DECLARE\n"
                "  candidates text[] := ARRAY(SELECT jsonb_array_elements_text(p_sites));\n"
                "  candidate text;\n"
                "  taken text;\n"
                "BEGIN\n"
                "  FOREACH candidate IN ARRAY candidates LOOP\n"
                "    CONTINUE WHEN EXISTS (SELECT 1 FROM qvbzevi.posts p WHERE p.article = p_article\n"
                "      AND p.site = candidate AND p.withdrawn_at IS NULL);\n"
                "    CONTINUE WHEN EXISTS (SELECT 1 FROM qvbzevi.claims c WHERE c.article = p_article\n"
                "      AND c.site = candidate AND c.member <> p_member AND c.until > clock_timestamp());\n"
                "    taken := NULL;\n"
                "    INSERT INTO qvbzevi.claims AS c (article, site, member, until)\n"
                "      VALUES (p_article, candidate, p_member, clock_timestamp() + make_interval(secs => p_seconds))\n"
                "      ON CONFLICT (article, site) DO UPDATE SET member = excluded.member, until = excluded.until\n"
                "      WHERE c.until <= clock_timestamp() OR c.member = excluded.member\n"
                "      RETURNING c.site INTO taken;\n"
                "    CONTINUE WHEN taken IS NULL;\n"
                "    IF EXISTS (SELECT 1 FROM qvbzevi.posts p WHERE p.article = p_article\n"
                "        AND p.site = taken AND p.withdrawn_at IS NULL) THEN\n"
                "      DELETE FROM qvbzevi.claims c WHERE c.article = p_article AND c.site = taken;\n"
                "      CONTINUE;\n"
                "    END IF;\n"
                "    DELETE FROM qvbzevi.claims c WHERE c.article = p_article AND c.member = p_member\n"
                "      AND c.site <> taken;\n"
                "    PERFORM pg_notify('qvbzevi_team', md5(p_article));\n"
                "    RETURN taken;\n"
                "  END LOOP;\n"
                "  RETURN NULL;\n"
                "END $$"),
        },
    };
    return all;
}

bool run(QSqlDatabase& db, const QString& statement, QString* error)
{
    QSqlQuery query(db);
    if (query.exec(statement))
        return true;
    *error = query.lastError().text();
    return false;
}

int readVersion(QSqlDatabase& db, QString* error)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT to_regclass('qvbzevi.schema_version') IS NOT NULL")) || !query.next()) {
        *error = query.lastError().text();
        return -1;
    }
    if (!query.value(0).toBool())
        return 0;
    if (!query.exec(QStringLiteral("SELECT max(version) FROM qvbzevi.schema_version")) || !query.next()) {
        *error = query.lastError().text();
        return -1;
    }
    return query.value(0).toInt();
}

}  // namespace

namespace TeamServerSchema {

int currentVersion() { return int(steps().size()); }

int serverVersion(QSqlDatabase& db, QString* error) { return readVersion(db, error); }

bool upgrade(QSqlDatabase& db, QString* error)
{
    int found = readVersion(db, error);
    if (found == currentVersion())
        return true;
    if (!db.transaction()) {
        *error = db.lastError().text();
        return false;
    }
    // Two members starting on a new server: one makes the tables, the other
    // waits here and then finds them made.
    bool done = run(db, QStringLiteral("SELECT pg_advisory_xact_lock(7316001)"), error)
        && run(db, QStringLiteral("CREATE SCHEMA IF NOT EXISTS qvbzevi"), error)
        && run(db, QStringLiteral("CREATE TABLE IF NOT EXISTS qvbzevi.schema_version (version integer NOT NULL)"),
               error)
        && (found = readVersion(db, error)) >= 0;
    if (done && found > currentVersion()) {
        *error = QCoreApplication::translate("TeamServerSchema", "由更新版本的QVBzevi建立（版本 %1），请先更新本程序")
                     .arg(found);
        done = false;
    }
    for (int step = found; done && step < currentVersion(); ++step)
        for (const QString& statement : steps().at(step))
            if (done)
                done = run(db, statement, error);
    if (done && found < currentVersion())
        done = run(db, QStringLiteral("DELETE FROM qvbzevi.schema_version"), error)
            && run(db, QStringLiteral("INSERT INTO qvbzevi.schema_version VALUES (%1)").arg(currentVersion()), error);
    if (done && db.commit())
        return true;
    if (error->isEmpty())
        *error = db.lastError().text();
    db.rollback();
    return false;
}

}  // namespace TeamServerSchema
