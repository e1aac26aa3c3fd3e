// Every text of the drop editor, held together as the program's constant
// data: the runtime registers the block as a constant range, so these texts
// may be passed and handed to the release service like any other value.
#pragma once

// name, text (GBK at run time)
#define DROPEDIT_PROGRAM_TEXTS(X)                                                          \
    X(gamePath, "PE_Client_Data\\resources.assets")                                        \
    X(cacheFile, "pe.bin")                                                                 \
    X(cacheJournalFile, "pe.bin-journal")                                                  \
    X(cacheWalFile, "pe.bin-wal")                                                          \
    X(cacheShmFile, "pe.bin-shm")                                                          \
    X(toolFolder, ".")                                                                     \
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
    X(deniedGame, "系统拒绝本工具写入游戏文件（只读文件或受保护的文件夹）：请去掉PE_Client_Data\\resources.assets的只读属性，或以管理员身份运行本工具，或将游戏移出受保护的文件夹（如C:\\Program Files）。") \
    X(deniedCache, "系统拒绝本工具写入缓存文件（只读文件或受保护的文件夹）：请去掉pe.bin的只读属性，或以管理员身份运行本工具，或将游戏移出受保护的文件夹（如C:\\Program Files）。") \
    X(deniedToolFiles, "系统拒绝本工具写入它目录中的文件（只读文件或受保护的文件夹）：请去掉dropedit开头文件的只读属性，或以管理员身份运行本工具，或将游戏移出受保护的文件夹（如C:\\Program Files）。") \
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
    X(negativeMultiplier, "倍率不能为负数，请输入0或正数。")                                  \
    X(gameReadFailed, "读取游戏文件失败，游戏文件未被修改。")                               \
    X(gameChangedSinceStart, "游戏文件在本工具开启后被改动过，未写入。请重新开启本软件后再修改。") \
    X(toolFilesFailed, "无法在本工具目录中保存原始数据或写入记录，游戏文件未被修改。请确认目录可写且磁盘空间充足。") \
    X(originalDamaged, "本工具目录中保存的原始数据（dropedit-original-0.751）已损坏，为免丢失原始数据，游戏文件未被修改。") \
    X(readBackMismatch, "修改失败：写入后读回的游戏数据与写入的不一致。请重新开启本软件，未完成的修改会自动补全。") \
    X(restored, "已恢复为第一次修改前保存的原始数据。")                                     \
    X(pendingCompleted, "上次被中断的修改已补全。")                                         \
    X(pendingStale, "上次被中断的修改无法补全：游戏文件已更新或被其它程序改动，本工具未改动游戏文件。写入记录（dropedit-pending开头的文件）保留在本工具目录中，验证游戏文件完整性后可删除。") \
    X(pendingStaleCode, "错误代码:0*0E000021")                                             \
    X(pendingDamaged, "上次被中断的修改无法补全：写入记录已损坏，本工具未改动游戏文件。写入记录（dropedit-pending开头的文件）保留在本工具目录中，请验证游戏文件完整性后删除它们。") \
    X(pendingDamagedCode, "错误代码:0*0E000022")                                           \
    X(pendingRepairFailed, "上次被中断的修改补全失败，游戏数据可能不完整。请关闭占用游戏文件的软件后再次开启本软件重试。") \
    X(pendingRepairFailedCode, "错误代码:0*0E000023")                                      \
    X(originalSlotFile, "dropedit-original-0.751.bin")                                     \
    X(originalRecordFile, "dropedit-original-0.751.txt")                                   \
    X(pendingRecordFile, "dropedit-pending.txt")                                           \
    X(pendingNewFile, "dropedit-pending-new.bin")                                          \
    X(pendingOldFile, "dropedit-pending-old.bin")                                          \
    X(originalNote, "本文件记录 dropedit-original-0.751.bin：游戏0.751版数据库槽在本工具第一次写入前的原样。") \
    X(restoreHowStart, "恢复方法：在窗口中填入 货币掉落 ")                                 \
    X(restoreHowItem, "、物品掉落 ")                                                       \
    X(restoreHowKettle, "、水壶获取 ")                                                     \
    X(restoreHowEnd, "，再点击“确认修改”。")                                               \
    X(pendingNote, "本文件是未完成的写入记录：本工具改写游戏文件前写下它，写完后删除；下次开启时据此补全。") \
    X(recordFile, "file=")                                                                 \
    X(recordSize, "size=")                                                                 \
    X(recordOffset, "offset=")                                                             \
    X(recordLength, "length=")                                                             \
    X(recordSlotCrc, "crc32=")                                                             \
    X(recordOldCrc, "old=")                                                                \
    X(recordNewCrc, "new=")                                                                \
    X(recordMeat, "meat=")                                                                 \
    X(recordItem, "item=")                                                                 \
    X(recordKettle, "kettle=")                                                             \
    X(recordCheck, "check=")                                                               \
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
