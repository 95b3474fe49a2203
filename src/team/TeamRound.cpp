#include "TeamRound.h"

#include "TeamLink.h"

#include <QJsonArray>
#include <QThread>
#include <QUrl>
#include <QUuid>

#include <algorithm>
#include <memory>

namespace {

constexpr int WatchedArticles = 16;

// The server's text columns take no NUL character: one would hold back the
// queue behind it for ever.
QString storable(const QString& text)
{
    QString clean = text;
    clean.remove(QChar(0));
    return clean;
}

// An address without "user:password@": nothing secret reaches the team.
QString withoutUserInfo(const QString& address)
{
    const QUrl url(address);
    return url.isValid() && !url.userInfo().isEmpty() ? url.adjusted(QUrl::RemoveUserInfo).toString() : address;
}

QString isoNow() { return QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs); }

QDateTime timeOf(const QJsonObject& data, const char* name)
{
    return QDateTime::fromString(data.value(QLatin1String(name)).toString(), Qt::ISODateWithMs);
}

QString text(const QJsonObject& data, const char* name) { return data.value(QLatin1String(name)).toString(); }

// The post a Post change tells of; `sent`: the server has stored it.
TeamPost postOf(const TeamChange& change, bool sent)
{
    const QJsonObject& d = change.data;
    return TeamPost{text(d, "site"),
                    text(d, "article"),
                    text(d, "member"),
                    timeOf(d, "posted_at"),
                    text(d, "form_url"),
                    text(d, "post_url"),
                    d.value(QLatin1String("by_hand")).toBool(),
                    sent};
}

QList<TeamFormField> fieldsOf(const TeamChange& change)
{
    QList<TeamFormField> fields;
    for (const QJsonValue& value : change.data.value(QLatin1String("fields")).toArray()) {
        const QJsonObject field = value.toObject();
        fields << TeamFormField{text(field, "locator"), text(field, "target"),
                                field.value(QLatin1String("form")).toInt()};
    }
    return fields;
}

}  // namespace

TeamRound::TeamRound(HistoryDatabase& local, QObject* parent) : QObject(parent), m_local(local), m_outbox(local)
{
    m_expiry.setSingleShot(true);
    connect(&m_expiry, &QTimer::timeout, this, &TeamRound::claimsExpired);
}

TeamRound::~TeamRound() { stop(); }

void TeamRound::start(const QString& dataFolder)
{
    stop();
    m_settings = TeamSettings::load(dataFolder);
    if (!m_settings.problem.isEmpty())
        emit problem(m_settings.problem);
    if (!m_settings.notice.isEmpty())
        emit problem(m_settings.notice);
    if (!m_settings.isConfigured())
        return;
    const QString error = m_outbox.load();
    if (!error.isEmpty())
        emit problem(tr("团队待发送的记录无法读取：%1").arg(error));
    m_reason = tr("正在连接团队服务器…");
    m_thread = new QThread(this);
    m_thread->setObjectName(QStringLiteral("team"));
    m_link = new TeamLink(TeamSettings::driverOptions(m_settings.conninfo), m_retryMs);
    m_link->moveToThread(m_thread);
    // The link closes its connection in its own thread, as it must.
    connect(m_thread, &QThread::finished, m_link, &QObject::deleteLater);
    // What an earlier link posted before it went is not this one's news.
    const quint64 generation = m_generation;
    connect(m_link, &TeamLink::onlineChanged, this, [this, generation](bool online, const QString& reason) {
        if (generation == m_generation)
            linkOnlineChanged(online, reason);
    });
    connect(m_link, &TeamLink::notified, this, [this, generation](const QByteArray& digest) {
        const auto watched = m_digests.constFind(digest);
        if (generation == m_generation && watched != m_digests.constEnd())
            load(*watched);
    });
    m_thread->start();
    QMetaObject::invokeMethod(m_link, &TeamLink::begin, Qt::QueuedConnection);
}

void TeamRound::stop()
{
    if (!m_thread)
        return;
    ++m_generation;
    // A connection being made finishes first (at most its connect_timeout).
    m_thread->quit();
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    m_link = nullptr;
    for (auto it = m_asked.cbegin(); it != m_asked.cend(); ++it)
        QMetaObject::invokeMethod(
            this, [this, id = it.key()] { answer(id, false, tr("团队连接已关闭")); }, Qt::QueuedConnection);
    m_inFlight.clear();
    m_rounds.clear();
    m_digests.clear();
    const bool wasOnline = m_online;
    m_online = false;
    m_reason.clear();
    if (wasOnline)
        emit onlineChanged(false, m_reason);
}

void TeamRound::ask(const std::function<bool(QSqlDatabase&, QString*)>& work,
                    const std::function<void(bool, const QString&)>& done)
{
    if (!m_link) {
        QMetaObject::invokeMethod(
            this, [done, reason = m_reason] { done(false, reason); }, Qt::QueuedConnection);
        return;
    }
    // The answer is posted to this object: the destructor stops the thread
    // before it goes, and what was posted to it goes with it. A request the
    // link never ran (it was stopped first) is answered by stop().
    const quint64 id = ++m_askCount;
    m_asked.insert(id, done);
    TeamLink* link = m_link;
    QMetaObject::invokeMethod(
        link,
        [this, link, work, id] {
            QString error;
            const bool ok = link->run(work, &error);
            QMetaObject::invokeMethod(
                this, [this, id, ok, error] { answer(id, ok, error); }, Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
}

void TeamRound::answer(quint64 id, bool ok, const QString& error)
{
    const auto done = m_asked.take(id);
    if (done)
        done(ok, error);
}

void TeamRound::linkOnlineChanged(bool online, const QString& reason)
{
    m_online = online;
    m_reason = reason;
    if (online) {
        // What was sent before the connection was lost goes again, in order.
        m_inFlight.clear();
        sendChanges();
        for (auto it = m_rounds.cbegin(); it != m_rounds.cend(); ++it)
            load(it.key());
    }
    emit onlineChanged(online, reason);
}

// Posts and changes

QString TeamRound::recordPost(const QString& site, const QString& article, const QString& formUrl,
                              const QString& postUrl, bool byHand)
{
    if (!isConfigured())
        return {};
    const QString key = QUuid::createUuid().toString(QUuid::WithoutBraces);
    m_articleOfPost.insert(key, storable(article));
    queue(TeamChange::Post,
          {{QStringLiteral("key"), key},
           {QStringLiteral("site"), site},
           {QStringLiteral("article"), article},
           {QStringLiteral("member"), m_settings.member},
           {QStringLiteral("posted_at"), isoNow()},
           {QStringLiteral("form_url"), withoutUserInfo(formUrl)},
           {QStringLiteral("post_url"), withoutUserInfo(postUrl)},
           {QStringLiteral("by_hand"), byHand}});
    return key;
}

void TeamRound::updatePost(const QString& key, const QString& postUrl, bool submittedAgain)
{
    if (!isConfigured() || key.isEmpty())
        return;
    queue(TeamChange::Update,
          {{QStringLiteral("post"), key},
           {QStringLiteral("article"), m_articleOfPost.value(key)},
           {QStringLiteral("post_url"), withoutUserInfo(postUrl)},
           {QStringLiteral("posted_at"), submittedAgain ? isoNow() : QString()}});
}

void TeamRound::withdraw(const QString& site, const QString& article)
{
    if (!isConfigured())
        return;
    queue(TeamChange::Withdraw,
          {{QStringLiteral("site"), site}, {QStringLiteral("article"), article}, {QStringLiteral("at"), isoNow()}});
}

void TeamRound::teachForm(const QString& site, const QString& page, const QList<TeamFormField>& fields)
{
    if (!isConfigured())
        return;
    QJsonArray list;
    for (const TeamFormField& field : fields)
        list.append(QJsonObject{{QStringLiteral("locator"), storable(field.locator)},
                                {QStringLiteral("target"), storable(field.target)},
                                {QStringLiteral("form"), field.form}});
    queue(TeamChange::Form,
          {{QStringLiteral("site"), site},
           {QStringLiteral("page"), page},
           {QStringLiteral("member"), m_settings.member},
           {QStringLiteral("fields"), list}});
}

void TeamRound::queue(TeamChange::Kind kind, QJsonObject data)
{
    TeamChange change;
    change.kind = kind;
    change.key = data.take(QStringLiteral("key")).toString();
    if (change.key.isEmpty())
        change.key = QUuid::createUuid().toString(QUuid::WithoutBraces);
    for (auto it = data.begin(); it != data.end(); ++it)
        if (it->isString())
            *it = storable(it->toString());
    change.data = data;
    const QString error = m_outbox.add(change);
    if (!error.isEmpty())
        emit problem(tr("团队的记录暂时只在内存中，尚未写入本地数据库：%1").arg(error));
    if (kind != TeamChange::Form)
        emit changed(text(change.data, "article"));
    sendChanges();
}

void TeamRound::sendChanges()
{
    if (!m_online)
        return;
    QList<TeamChange> batch;
    for (const TeamChange& change : m_outbox.changes())
        if (!m_inFlight.contains(change.key))
            batch << change;
    if (batch.isEmpty())
        return;
    for (const TeamChange& change : std::as_const(batch))
        m_inFlight.insert(change.key);
    struct Outcome {
        QStringList done;
        QStringList refused;  // "key" then "reason", in pairs
    };
    auto outcome = std::make_shared<Outcome>();
    const quint64 generation = m_generation;
    ask(
        [batch, outcome](QSqlDatabase& db, QString* error) {
            if (TeamServer::apply(db, batch, error)) {
                for (const TeamChange& change : batch)
                    outcome->done << change.key;
                return true;
            }
            if (TeamLink::isBroken(db))
                return false;
            // The server is there but refused the batch: one change it cannot
            // take must not hold back the others.
            for (const TeamChange& change : batch) {
                QString reason;
                if (TeamServer::apply(db, {change}, &reason)) {
                    outcome->done << change.key;
                } else if (TeamLink::isBroken(db)) {
                    *error = reason;
                    return false;
                } else {
                    outcome->refused << change.key << reason;
                }
            }
            return true;
        },
        [this, batch, outcome, generation](bool, const QString&) {
            if (generation != m_generation)
                return;
            QStringList refusedKeys;
            for (qsizetype i = 0; i + 1 < outcome->refused.size(); i += 2) {
                refusedKeys << outcome->refused.at(i);
                emit problem(tr("团队服务器没有接受一项记录：%1").arg(outcome->refused.at(i + 1)));
            }
            sent(batch, outcome->done, refusedKeys);
        });
}

void TeamRound::sent(const QList<TeamChange>& batch, const QStringList& done, const QStringList& refused)
{
    for (const TeamChange& change : batch)
        m_inFlight.remove(change.key);
    const QString error = m_outbox.remove(done + refused);
    if (!error.isEmpty())
        emit problem(tr("团队已收到的记录无法从本地队列删除（会再发送一次，不会重复）：%1").arg(error));
    // A post the server took joins the round as it is known here; other
    // changes are read back. A big round is not loaded again for each post.
    QSet<QString> merged, reload;
    for (const TeamChange& change : batch) {
        const QString article = text(change.data, "article");
        if (!done.contains(change.key))
            continue;
        if (change.kind == TeamChange::Form) {
            m_forms.insert({text(change.data, "site"), text(change.data, "page")}, fieldsOf(change));
        } else if (change.kind == TeamChange::Post && m_rounds.contains(article)) {
            Cached& cached = m_rounds[article];
            const TeamPost post = postOf(change, true);
            const auto known = cached.round.posts.constFind(post.site);
            if (known == cached.round.posts.constEnd() || known->postedAt <= post.postedAt)
                cached.round.posts.insert(post.site, post);
            cached.round.claims.removeIf([&post](const TeamClaim& claim) { return claim.site == post.site; });
            merged.insert(article);
        } else if (m_rounds.contains(article)) {
            reload.insert(article);
        }
    }
    for (const QString& article : std::as_const(reload))
        load(article);
    for (const QString& article : std::as_const(merged))
        if (!reload.contains(article))
            emit changed(article);
}

// The round

TeamRound::Cached& TeamRound::watch(const QString& article)
{
    auto found = m_rounds.find(article);
    if (found == m_rounds.end()) {
        if (m_rounds.size() >= WatchedArticles) {
            auto oldest = m_rounds.begin();
            for (auto it = m_rounds.begin(); it != m_rounds.end(); ++it)
                if (it->used < oldest->used)
                    oldest = it;
            m_digests.remove(TeamServer::articleDigest(oldest.key()));
            m_rounds.erase(oldest);
        }
        found = m_rounds.insert(article, Cached());
        m_digests.insert(TeamServer::articleDigest(article), article);
    }
    found->used = ++m_useCount;
    return *found;
}

void TeamRound::refresh(const QString& article)
{
    if (isConfigured() && !article.isEmpty()) {
        watch(article);
        load(article);
    }
}

void TeamRound::load(const QString& article)
{
    Cached& cached = watch(article);
    if (cached.loading) {
        cached.again = true;  // a change came while the load ran
        return;
    }
    if (!m_online)
        return;
    cached.loading = true;
    auto round = std::make_shared<TeamServer::Round>();
    const quint64 generation = m_generation;
    ask([article, round](QSqlDatabase& db,
                         QString* error) { return TeamServer::loadRound(db, article, round.get(), error); },
        [this, article, round, generation](bool ok, const QString&) {
            const auto found = m_rounds.find(article);
            if (generation != m_generation || found == m_rounds.end())
                return;
            found->loading = false;
            if (ok) {
                found->round = *round;
                found->loaded = true;
                armExpiry();
                emit changed(article);
            }
            if (found->again) {
                found->again = false;
                load(article);
            }
        });
}

QHash<QString, TeamPost> TeamRound::postsOf(const QString& article)
{
    if (!isConfigured() || article.isEmpty())
        return {};
    Cached& cached = watch(article);
    if (!cached.loaded && !cached.loading)
        load(article);
    return knownPosts(article);
}

QHash<QString, TeamPost> TeamRound::knownPosts(const QString& article) const
{
    const auto cached = m_rounds.constFind(article);
    QHash<QString, TeamPost> posts = cached != m_rounds.constEnd() ? cached->round.posts : QHash<QString, TeamPost>();
    // This computer's changes the server has not answered yet, in order.
    QHash<QString, QString> unsentSites;  // key -> site
    for (const TeamChange& change : m_outbox.changes()) {
        const QJsonObject& d = change.data;
        if (change.kind == TeamChange::Post && text(d, "article") == article) {
            const TeamPost post = postOf(change, false);
            const auto known = posts.constFind(post.site);
            if (known == posts.constEnd() || known->postedAt <= post.postedAt) {
                posts.insert(post.site, post);
                unsentSites.insert(change.key, post.site);
            }
        } else if (change.kind == TeamChange::Update && unsentSites.contains(text(d, "post"))) {
            TeamPost& post = posts[unsentSites.value(text(d, "post"))];
            post.postUrl = text(d, "post_url");
            if (!text(d, "posted_at").isEmpty())
                post.postedAt = timeOf(d, "posted_at");
        } else if (change.kind == TeamChange::Withdraw && text(d, "article") == article) {
            const auto known = posts.constFind(text(d, "site"));
            if (known != posts.constEnd() && known->postedAt <= timeOf(d, "at"))
                posts.remove(text(d, "site"));
        }
    }
    return posts;
}

QList<TeamClaim> TeamRound::claimsOf(const QString& article)
{
    if (!isConfigured() || article.isEmpty())
        return {};
    const Cached& cached = watch(article);
    const QHash<QString, TeamPost> posts = knownPosts(article);
    QList<TeamClaim> live;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (const TeamClaim& claim : cached.round.claims)
        if (claim.until > now && !posts.contains(claim.site))
            live << claim;
    return live;
}

void TeamRound::armExpiry()
{
    QDateTime first;
    for (const Cached& cached : std::as_const(m_rounds))
        for (const TeamClaim& claim : cached.round.claims)
            if (!first.isValid() || claim.until < first)
                first = claim.until;
    if (first.isValid())
        m_expiry.start(
            int(std::clamp<qint64>(QDateTime::currentDateTimeUtc().msecsTo(first) + 50, 0, 24 * 3600 * 1000)));
}

void TeamRound::claimsExpired()
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    QStringList articles;
    for (auto it = m_rounds.begin(); it != m_rounds.end(); ++it) {
        const auto before = it->round.claims.size();
        it->round.claims.removeIf([&now](const TeamClaim& claim) { return claim.until <= now; });
        if (it->round.claims.size() != before)
            articles << it.key();
    }
    armExpiry();
    for (const QString& article : std::as_const(articles))
        emit changed(article);
}

// "Next site"

void TeamRound::claimNext(const QString& article, const QStringList& orderedSites, int currentPosition,
                          const QSet<QString>& postedHere, ClaimCallback done)
{
    // After the current site, wrapping to the top; the current one last.
    const int count = int(orderedSites.size());
    const int from = currentPosition >= 0 && currentPosition < count ? currentPosition : -1;
    const QHash<QString, TeamPost> known = knownPosts(article);
    QList<int> candidates;
    QStringList names;
    QSet<QString> seen;
    for (int step = 1; step <= count; ++step) {
        const int position = (from + step) % count;
        const QString& site = orderedSites.at(position);
        if (known.contains(site) || postedHere.contains(site) || seen.contains(site))
            continue;
        seen.insert(site);
        candidates << position;
        names << site;
    }
    if (!isConfigured() || !m_online || candidates.isEmpty()) {
        Claim claim = chooseHere(article, candidates, orderedSites);
        QMetaObject::invokeMethod(
            this, [done, claim] { done(claim); }, Qt::QueuedConnection);
        return;
    }
    auto taken = std::make_shared<QString>();
    const QString member = m_settings.member;
    ask(
        [article, member, names, taken](QSqlDatabase& db, QString* error) {
            return TeamServer::claimNext(db, article, member, names, taken.get(), error);
        },
        [this, article, candidates, orderedSites, taken, done](bool ok, const QString& error) {
            Claim claim;
            if (!ok) {
                claim = chooseHere(article, candidates, orderedSites);
                claim.problem = error;
            } else {
                claim.onServer = true;
                claim.site = *taken;
                for (int position : candidates)
                    if (orderedSites.at(position) == claim.site) {
                        claim.position = position;
                        break;
                    }
                // The claim as the server made it: this member's others ended.
                const auto cached = m_rounds.find(article);
                if (cached != m_rounds.end() && !claim.site.isEmpty()) {
                    cached->round.claims.removeIf(
                        [&](const TeamClaim& c) { return c.member == m_settings.member || c.site == claim.site; });
                    cached->round.claims << TeamClaim{
                        claim.site, m_settings.member,
                        QDateTime::currentDateTimeUtc().addSecs(TeamServer::ClaimSeconds)};
                    armExpiry();
                    emit changed(article);
                }
            }
            done(claim);
        });
}

TeamRound::Claim TeamRound::chooseHere(const QString& article, const QList<int>& candidates,
                                       const QStringList& sites) const
{
    Claim claim;
    claim.problem = m_reason;
    QSet<QString> claimedByOthers;
    const auto cached = m_rounds.constFind(article);
    const QDateTime now = QDateTime::currentDateTimeUtc();
    if (cached != m_rounds.constEnd())
        for (const TeamClaim& other : cached->round.claims)
            if (other.member != m_settings.member && other.until > now)
                claimedByOthers.insert(other.site);
    for (int position : candidates) {
        if (!claimedByOthers.contains(sites.at(position))) {
            claim.position = position;
            claim.site = sites.at(position);
            break;
        }
    }
    return claim;
}

// Forms

QList<TeamFormField> TeamRound::knownForm(const QString& site, const QString& page) const
{
    // The last of this computer's unsent teachings, else what the server said last.
    QList<TeamFormField> fields = m_forms.value({site, page});
    for (const TeamChange& change : m_outbox.changes()) {
        if (change.kind != TeamChange::Form || text(change.data, "site") != site || text(change.data, "page") != page)
            continue;
        fields = fieldsOf(change);
    }
    return fields;
}

void TeamRound::fetchForm(const QString& site, const QString& page, FormCallback done)
{
    if (!m_online || !isConfigured()) {
        const QList<TeamFormField> fields = knownForm(site, page);
        QMetaObject::invokeMethod(
            this, [done, fields] { done(fields); }, Qt::QueuedConnection);
        return;
    }
    auto fields = std::make_shared<QList<TeamFormField>>();
    ask([site, page, fields](QSqlDatabase& db,
                             QString* error) { return TeamServer::formOf(db, site, page, fields.get(), error); },
        [this, site, page, fields, done](bool ok, const QString&) {
            if (ok)
                m_forms.insert({site, page}, *fields);
            done(knownForm(site, page));
        });
}
