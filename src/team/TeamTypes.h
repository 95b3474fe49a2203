#pragma once

#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <QString>

// What the team's server knows of a round, as the round window shows it.

// The latest live post of a site, by any member.
struct TeamPost {
    QString site;
    QString article;
    QString member;
    QDateTime postedAt;  // UTC, the poster's clock
    QString formUrl;
    QString postUrl;
    bool byHand = false;
    bool sent = false;  // false: still in this computer's queue for the server
};

// A site a member is working on: others' "next site" passes it by.
struct TeamClaim {
    QString site;
    QString member;
    QDateTime until;  // on this computer's clock
};

// One field of a form taught to the team.
struct TeamFormField {
    QString locator;
    QString target;
    int form = 0;
};

// A change waiting for the server. Its key is made here, once: the server
// stores a change it has seen before no second time.
struct TeamChange {
    enum Kind {
        Post,  // site, article, member, posted_at, form_url, post_url, by_hand
        Update,  // post (its key), article (when known), post_url, posted_at (empty: unchanged)
        Withdraw,  // site, article, at
        Form  // site, page, member, fields [{locator, target, form}]; none: forgotten
    };
    QString key;
    Kind kind = Post;
    QJsonObject data;

    static QString kindName(Kind kind);
    static bool kindOf(const QString& name, Kind* kind);
};
