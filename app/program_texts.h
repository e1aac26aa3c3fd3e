// Every text of the drop editor, held together as the program's constant
// data: the runtime registers the block as a constant range, so these texts
// may be passed and handed to the release service like any other value.
#pragma once

// name, text (GBK at run time)
#define DROPEDIT_PROGRAM_TEXTS(X)                                                          \
    X(gamePath, "PE_Client_Data\\resources.assets")                                        \
    X(cacheFile, "pe.bin")                                                                 \
    X(versionText, "0.751（Steam）")                                                       \
    X(titleFatal, "ERROR")                                                                 \
    X(titleRefused, "错误")                                                                \
    X(titleSuccess, "恭喜")                                                                \
    X(titleNotes, "使用说明")                                                              \
    X(sizeMismatch, "读取失败，请确保您当前游戏版本为0.751，或者游戏处于关闭状态，且本工具放置于游戏路径下。") \
    X(sizeMismatchCode, "错误代码:0*0E000001")                                             \
    X(gameLocked, "请将该软件放置在游戏路径下，且关闭可能占用进程的其它软件后，再次开启本软件。") \
    X(gameLockedCode, "错误代码:0*0E000015")                                               \
    X(cacheBusy, "缓存文件正在被占用，请关闭杀毒软件或者其它读写进程，再次开启本软件。")   \
    X(cacheBusyCode, "错误代码:0*0E000014")                                                \
    X(cacheUnreadable, "读取失败，请确保MOD修改器处于开启状态！")                           \
    X(tableSkill, "skill")                                                                 \
    X(tableAiData, "ai_data")                                                              \
    X(comma, ",")                                                                          \
    X(semicolon, ";")                                                                      \
    X(noData, "读取数据错误，不能保存")                                                    \
    X(cacheOpenFailed, "打开缓存文件失败，请确认占用线程的其它软件已关闭！")               \
    X(tooLarge, "修改冗余数据过多，您的版本不支持大数据，可切换为075修正版再次尝试。")     \
    X(applied, "修改成功")                                                                 \
    X(batchFailed, "修改失败：写入缓存数据库出错，游戏文件未被修改。")                     \
    X(gameWriteLocked, "写入游戏文件失败，请关闭游戏或其它占用游戏文件的软件后再试。")     \
    X(gameWriteIncomplete, "写入游戏文件失败，游戏数据可能不完整，请验证游戏文件完整性。") \
    X(zeroMultiplier, "当前倍率为0，无法按比例修改掉落数值。")                             \
    X(notesLine1, "本工具支持版本有0751官方版、0751修正版（含Steam平台）")                 \
    X(notesLine2, "将本工具放置在游戏目录，双击使用即可。")                                \
    X(sqlMeatStart, "update ai_data set meat_drop='")                                      \
    X(sqlItemStart, "',item_drop='")                                                       \
    X(sqlMonsterStart, "' where monster_ID='")                                             \
    X(sqlEnd, "';")                                                                        \
    X(sqlSkillStart, "update skill set _itemsGot='0;40010028,")                            \
    X(sqlSkillEnd, "' where _id='10441';")                                                 \
    X(sqlBegin, "BEGIN;")                                                                  \
    X(sqlIndex, "CREATE INDEX dropedit_apply_monster_id ON ai_data(monster_ID);")          \
    X(sqlDropIndex, "DROP INDEX dropedit_apply_monster_id;")                               \
    X(sqlCommit, "COMMIT;")                                                                \
    X(sqlRollback, "ROLLBACK;")

struct ProgramTexts {
#define DROPEDIT_TEXT_FIELD(name, text) char name[sizeof(text)];
    DROPEDIT_PROGRAM_TEXTS(DROPEDIT_TEXT_FIELD)
#undef DROPEDIT_TEXT_FIELD
};

extern const ProgramTexts kTexts;
