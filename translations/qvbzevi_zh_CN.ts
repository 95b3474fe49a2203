<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="zh_CN">
<context>
    <name>ArticleListPanel</name>
    <message>
        <source>新增文章内容</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>编辑文章内容</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>修改文章内容</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>删除文章内容</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>直接保存右边文章内容中的修改</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>显示右边的文章内容</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>帮助文档</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ArticleMessages</name>
    <message>
        <source>文章名称不能含有换行或“=”，也不能以“[”或“;”开头</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>短句名称、短句内容和段落名称不能含有换行</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>保存失败：
%1</source>
        <extracomment>%1: the files that could not be written, one per line</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>BrowserCaptions</name>
    <message>
        <source>New Browser</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ContinuousRound</name>
    <message>
        <source>连续发布：%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>没有当前文章：请先在文章列表中选择一篇文章</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>连续发布已开始：发布后自动转到下一个未发布的站点并填表，只需检查后用网页上的按钮提交；Shift+F8 停止</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>连续发布已停止</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>连续发布已停止：%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>已选择另一篇文章</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>本轮已完成，“%1”已发布到全部站点</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>本页已有您的输入，没有自动填表（F9 可填表）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>本页还没有学过填表：请用热键填好并提交，发布后自动继续</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>发布后的网页没有打开，请检查是否已发布；按 F8 转到下一个站点</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CredentialGuard</name>
    <message>
        <source>网页弹出的对话框和窗口不会得到用户名或密码</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>把「%1」的密码粘贴到 %2 吗？</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>把「%1」的用户名粘贴到 %2 吗？</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>这里不是该站点网址（%1）的网页。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>没有网址</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>记住：这两个站点之间不再询问（到程序退出为止）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>未粘贴：%1 不是「%2」的网址</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CredentialsRow</name>
    <message>
        <source>对应于选择网址的用户名</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>对应于选择网址的秘密</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>按下回车键（Enter）可自动保存</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DataFolder</name>
    <message>
        <source>not writable</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DataFolderLock</name>
    <message>
        <source>permission denied</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the lock file could not be made</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DialogTexts</name>
    <message>
        <source>关于</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>文件夹选择</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>当前路径</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>请选择一个路径</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>请输入一个文件夹</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>文件夹名称</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>新增文件夹</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DocumentTransfer</name>
    <message>
        <source>未导入（不是文档的文件，或是链接）：%1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FolderCopy</name>
    <message>
        <source>a folder of that name is in the way</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not a folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>是符号链接，没有写入（它指向的文件保持不变）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>是符号链接，没有读取</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>不是普通文件</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HeldPostsPrompt</name>
    <message>
        <source>%1 条发布记录无法保存：%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>数据库可能正被其他程序占用。重试，或者放弃这些记录并退出？</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>重试</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>放弃</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HistoryDatabase</name>
    <message>
        <source>不是普通文件</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>文件已损坏（%1）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>含有发布记录以外的数据库内容（%1），不予导入</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HistorySchema</name>
    <message>
        <source>由更新版本的QVBzevi写入（版本 %1）</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>InterfaceTexts</name>
    <message>
        <source>网址列表</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>文章列表</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>编辑</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>文章内容</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>文章编辑</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>文章名称</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>短句名称</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>快捷键</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>短句内容</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>短句%d</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>段落%d</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>请填入一个文章名</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>段落名称%d</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>网址编辑</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>新增网址</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>编辑网址</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>请输入一个网站名称</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>请输入一个网址</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>网站名称</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>网址URL</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>用户名(Ctrl+U)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>密码(Ctrl+W)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>可以为空</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>请先加入一个文章</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>已经保存右边『文章内容』中的修改</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>退出全屏显示</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>全屏显示</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>导出文件夹选择</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>正在导出文档...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>成功导出档到:%s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>导入文件夹选择</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>正在导入文档...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>成功导入文档:%s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>上移</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>下移</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>新增网站</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>修改网站</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>删除网站</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>关闭当前页</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>关闭所有页</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>鼠标右键有更多功能</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>打开网址栏中的网页</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>刷新网页</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>后退到上一页</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>下一页</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>退出</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>鼠标点击可进入官方主页</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>退回</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>网址文章唯一ID(Ctrl+O)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(快捷鍵快捷键：Ctrl+%d)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>QVB信息zevi</source>
        <extracomment>The product&apos;s name, in window captions and message boxes. Captions put the version right after it (&quot;QVB信息zevi2.3&quot;): a language that separates its words ends the name with a space.</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Pictures</name>
    <message>
        <source>新增</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>修改</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>删除</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>导出</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>导入</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>帮助</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>关于</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>退出</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>全屏</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>退出全屏</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>关闭</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>确定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>取消</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>新建文件夹</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PostRound</name>
    <message>
        <source>没有当前文章：请先在文章列表中选择一篇文章</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>站点列表是空的</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>本轮已完成：“%1”已发布到全部 %2 个站点</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>已到站点列表末尾，从列表开头继续；还有 %1 个站点未发布“%2”</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>其余未发布的站点都有队友正在发布</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>；</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RoundModel</name>
    <message>
        <source>未发布</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>已发布（手动标记）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>已发布</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>站点</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>状态</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>发布时间</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>帖子地址</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>已发布（未保存）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>尚未存入发布记录，下次保存时再试：%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>未发布（%1 正在发布）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>已发布（%1，手动标记）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>已发布（%1）</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SettingsFile</name>
    <message>
        <source>the section name &quot;%1&quot; cannot be stored</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the key &quot;%1&quot; cannot be stored</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the value of &quot;%1&quot; holds a line break</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SiteListPanel</name>
    <message>
        <source>新增一个网址信息</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>编辑一个网址信息</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>删除一个网址信息</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>新增网址信息</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>修改网址信息</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>删除网址信息</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SiteStore</name>
    <message>
        <source>网站名称“%1”无法保存：名称中不能有“]”、换行或控制字符，首尾不能是空白。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>网站名称“%1”由程序自用，请换一个名称。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>网址、用户名和密码中不能有换行。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>文章名称“%1”含有“=”或以“[”、“;”开头，不能保存它在本网站的文章ID。</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StoredFile</name>
    <message>
        <source>a folder stands where the file should be</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not a regular file (a pipe, socket or device)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>left as it is, since it could not be read (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>an item holds a line break</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TAddressBar</name>
    <message>
        <source>网址</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TFrmArticleEdit</name>
    <message>
        <source>文章内容已经修改，放弃这些修改吗？</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TFrmDirSelect</name>
    <message>
        <source>新建文件夹</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TFrmHelp</name>
    <message>
        <source>%1%2</source>
        <extracomment>The help window&apos;s caption: the about word, then the product&apos;s name, run together in Chinese; a language that separates its words puts a space.</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TFrmMain</name>
    <message>
        <source>；</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>数据文件夹不能写入，修改将无法保存：%1（%2）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>无法读取，程序不会写入此文件：%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>关于QVBzevi</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>退出QVBzevi</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>无法打开网址：%1（%2）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>无法保存：%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>无法保存发布记录：%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>发布进度</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>每个站点是否已发布当前文章（F7）；F8 转到下一个未发布的站点</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>发布记录不可用，本次发布不会被记录：%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>用户名</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>密码</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>文章ID</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>短句%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>段落%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>已填写 %1 项，请检查后用网页上的按钮提交</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1（%2）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>、</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>无法保存填表记忆：%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>填表</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>按学过的填法一次填好本页的表单（F9），不提交；Shift+F9 忘记本页的填法</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>本页还没有学过填表：用热键把各栏粘贴一次，以后按 F9 一次填好</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>正在填表……</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>已忘记本页的填法：%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>本页没有学过的填法</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>本页已学会 %1 栏的填法，以后按 F9 一次填好</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>本页找不到 %1 项：%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>没有内容、未填：%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>已忘记：粘贴用户名或密码到别的站点时会重新询问</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>没有记住的密码粘贴许可</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>网页已转到别处，填表已停止</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>用户名只填单行栏、密码只填密码栏，未填：%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>本页不是当前站点的网址，未填：%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>连续发布：%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>团队服务器不可用，按本机所知选了站点，队友可能也会选它</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>已连接团队服务器</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>团队离线，发布先记在本机，恢复后再送出：%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>团队：%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>团队：%1（在线）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>团队：%1（离线）</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TFrmPostRound</name>
    <message>
        <source>发布进度</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>全部</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>未发布</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>已发布</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>下一个站点</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>选中下一个还没有发布本文章的站点（F8）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>标记为已发布</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>取消标记</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>没有当前文章</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>文章：%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>已发布 %1 / %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>忘记本页填表</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>忘记当前网页学过的填法（Shift+F9）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>忘记密码粘贴许可</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>再粘贴用户名或密码到别的站点时重新询问</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>连续发布</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>发布后自动打开下一个未发布的站点并填好表单，您只需检查并按网页上的按钮提交（Shift+F8）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>团队…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>与队友共用一台 PostgreSQL 服务器上的发布进度</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TFrmTeam</name>
    <message>
        <source>测试连接</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>团队</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PostgreSQL 连接串或 postgresql:// 地址。密码不写在这里，写进 ~/.pgpass。空：只在本机记录</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>你在团队中的名字，其他成员看到的发布者</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>服务器（连接串）：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>成员名：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>连接串中的密码已去掉，不会保存：请把它写进 ~/.pgpass（或 PGPASSFILE 指定的文件）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>没有填写服务器：只在本机记录</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>正在连接…</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TWebbrowser</name>
    <message>
        <source>网页要用别的程序打开一个「%1:」链接：
%2

打开吗？</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TeamFaults</name>
    <message>
        <source>密码不对：请检查 ~/.pgpass（或 PGPASSFILE）中这台服务器的密码</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>服务器要求密码，但 ~/.pgpass（或 PGPASSFILE）中没有这台服务器的密码</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>TLS 验证失败：服务器的证书无法验证，连接已拒绝</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>TLS 加密连接没有建立</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>服务器不允许这台电脑或这个用户连接</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>找不到服务器：主机名无法解析</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>连接超时：服务器没有及时回应</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>服务器拒绝连接：它没有运行，或不在这个地址和端口上</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>服务器没有运行：找不到它的本地套接字</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>无法到达服务器：网络不通</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>服务器上没有这个数据库</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>服务器上没有这个用户（角色）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>服务器的连接数已满</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>服务器正在启动或关闭</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>与服务器的连接断开了</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>无法连接团队服务器</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1（服务器：%2）</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TeamLink</name>
    <message>
        <source>没有 PostgreSQL 的 Qt 驱动（Debian 软件包 libqt6sql6-psql）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>团队服务器的表无法使用：%1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TeamProbe</name>
    <message>
        <source>没有 PostgreSQL 的 Qt 驱动（Debian 软件包 libqt6sql6-psql）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>已连接，但团队表无法读取：%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>已连接，但服务器上的团队表由更新版本的QVBzevi建立（版本 %1），请先更新本程序</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>连接成功（PostgreSQL %1）：团队表将在首次使用时建立</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>连接成功（PostgreSQL %1）</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TeamRound</name>
    <message>
        <source>团队待发送的记录无法读取：%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>正在连接团队服务器…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>团队连接已关闭</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>团队的记录暂时只在内存中，尚未写入本地数据库：%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>团队服务器没有接受一项记录：%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>团队已收到的记录无法从本地队列删除（会再发送一次，不会重复）：%1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TeamServerSchema</name>
    <message>
        <source>由更新版本的QVBzevi建立（版本 %1），请先更新本程序</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TeamSettings</name>
    <message>
        <source>没有填写成员名：团队中每人用自己的名字</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>成员名太长（最多 %1 个字符）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>成员名中有控制字符</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>连接串无法读取：%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>连接串中不能有分号（;）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1：无法读取</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 中的密码没有使用：密码请写进 ~/.pgpass（或 PGPASSFILE 指定的文件）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>密码没有保存：请把它写进 ~/.pgpass（或 PGPASSFILE 指定的文件），连接时从那里读取</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1：无法写入</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1：%2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>数据文件夹正在被另一个QVBzevi使用，本程序不再启动：
%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>无法锁定数据文件夹，请勿同时运行两个QVBzevi：%1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
